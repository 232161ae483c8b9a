#include "picker/frame_session.h"

#include "picker/arrow_steps.h"
#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"
#include "platform/pointer_grab.h"

#include <QTimer>

namespace tintavo {

namespace {

constexpr int kGrabRetryMs = 50;

} // namespace

FrameSession::FrameSession(QObject *owner, PickEngine &engine, std::unique_ptr<FrozenScreen> frame,
                           std::unique_ptr<PointerGrab> grab, Setup setup)
    : QObject(owner), m_owner(owner), m_setup(std::move(setup)), m_engine(&engine),
      m_input(grab.get())
{
    m_parts.frame = std::move(frame);
    m_parts.grab = std::move(grab);
}

FrameSession::FrameSession(QObject *owner, std::unique_ptr<FrozenScreen> frame,
                           PickSettings settings, Setup setup)
    : QObject(owner), m_owner(owner), m_setup(std::move(setup)), m_input(frame->input())
{
    m_parts.engine =
        std::make_unique<PickEngine>(*frame, settings, PickEngine::Loupe::DrawnByFrame);
    m_engine = m_parts.engine.get();
    connect(m_engine, &PickEngine::looked, this, [this](const LoupeContent &content) {
        if (m_parts.frame)
            m_parts.frame->showLoupe(content);
    });
    m_parts.frame = std::move(frame);
}

FrameSession::~FrameSession()
{
    // Gone without end(), with its owner: the parts go with it at once.
    if (!m_ended)
        m_input->release();
}

void FrameSession::start()
{
    // The frame's own windows take the input once they are up.
    if (!m_parts.grab)
        m_parts.frame->show();
    tryGrab();
}

void FrameSession::tryGrab()
{
    if (m_ended)
        return;
    const GrabResult result = m_input->grab();
    if (result == GrabResult::Taken && ++m_grabTries < m_setup.grabTries) {
        QTimer::singleShot(kGrabRetryMs, this, &FrameSession::tryGrab);
        return;
    }
    if (result != GrabResult::Grabbed) {
        emit refused(result);
        return;
    }
    m_started = true;
    listen();
    if (FrozenScreen *frame = m_parts.frame.get()) {
        frame->show();
        if (!m_parts.engine)
            m_engine->setFrame(frame);
    }
    m_engine->update(true);
    m_engine->raiseLoupe();
    emit started();
}

void FrameSession::listen()
{
    if (m_setup.inspect && m_parts.frame) {
        m_parts.inspector =
            std::make_unique<FrameInspector>(*m_parts.frame, *m_engine, *m_input, *m_setup.inspect);
        connect(m_engine, &PickEngine::sampled, this,
                [this](QPoint pointer, std::optional<Rgb> color) {
                    if (m_parts.inspector) // not while it goes
                        m_parts.inspector->sampled(pointer, color);
                });
    }
    FrameInspector *inspector = m_parts.inspector.get();
    // With an inspector a left click picks when it is let go, unless the
    // pointer went far enough to drag out a region; without, at the press.
    connect(m_input, &PointerGrab::buttonPressed, this,
            [this, inspector](Qt::MouseButton button, QPoint at) {
                if (inspector && inspector->buttonPressed(button, at))
                    return;
                if (button == Qt::RightButton)
                    emit endWanted();
                else if (button == Qt::LeftButton)
                    emit pickWanted(at);
            });
    connect(m_input, &PointerGrab::buttonReleased, this,
            [this, inspector](Qt::MouseButton button, QPoint at) {
                if (inspector && !inspector->buttonReleased(button, at))
                    press(Qt::Key_Return);
            });
    connect(m_input, &PointerGrab::keyPressed, this, &FrameSession::press);
    // Ctrl+wheel sets the loupe's cells on a frame, where the wheel alone
    // may pan; on a picture, where Ctrl+wheel zooms, Alt+wheel.
    connect(m_input, &PointerGrab::wheelTurned, this,
            [this](int notches, Qt::KeyboardModifiers modifiers) {
                if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
                    m_engine->stepLoupeCells(notches);
            });
    // The loupe follows the pointer's own motion within the frame it moved
    // in, and nothing wakes while it rests.
    connect(m_input, &PointerGrab::pointerMoved, this, [this, inspector](QPoint at) {
        if (inspector)
            inspector->pointerMoved(at);
        m_engine->updateSoon();
    });
}

void FrameSession::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (m_ended || (m_parts.inspector && m_parts.inspector->keyPressed(key, modifiers)))
        return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter || (m_setup.pickerKeys && key == Qt::Key_S))
        emit pickWanted(std::nullopt);
    else if (key == Qt::Key_Escape || (m_setup.pickerKeys && key == Qt::Key_F))
        emit endWanted();
    else if (const std::optional<QPoint> step = arrowStep(key))
        m_engine->step(*step);
}

void FrameSession::end()
{
    if (std::exchange(m_ended, true))
        return;
    m_input->release();
    m_input->disconnect(this);
    if (m_parts.frame)
        m_parts.frame->setVisible(false);
    if (m_parts.engine) {
        // The engine reads the frame: it goes with it.
        m_parts.engine->disconnect();
    } else if (m_started && m_parts.frame) {
        // The live screen is read again once the windows the frame covered
        // have drawn themselves.
        m_engine->setFrame(nullptr);
    }
    m_engine->disconnect(this);
    destroyAfterEvent(m_owner, std::move(m_parts));
    deleteLater();
}

} // namespace tintavo
