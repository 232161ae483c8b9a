// The test's file manager: a window that drags the file named on its command
// line as a file URL from a button press, through the toolkit's real XDND
// source, and prints "dropped" or "refused" as the target answers.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget
{
public:
    explicit DragSource(QString path) : m_path(std::move(path)) {}

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(m_path)});
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        std::puts(drag->exec(Qt::CopyAction) == Qt::CopyAction ? "dropped" : "refused");
        std::fflush(stdout);
    }

private:
    QString m_path;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    DragSource source(app.arguments().value(1));
    source.setWindowTitle(QStringLiteral("drag source"));
    source.setGeometry(1100, 850, 120, 120);
    source.show();
    return app.exec();
}
