#pragma once

#include <QLibrary>

namespace tintavo {

// A shared library loaded the first time a feature needs it, rather than by
// every start of the program: what the main window never uses need not cost
// its start time or memory. Kept loaded for the rest of the run.
class LateLibrary
{
public:
    // The library `name` of major version `version` (lcms2, 2: liblcms2.so.2).
    LateLibrary(const char *name, int version) : m_library(QString::fromLatin1(name), version)
    {
        m_library.load();
    }

    // Sets `to` to the library's `name`; false (and `to` null) where it has none.
    template <typename Pointer> bool find(Pointer &to, const char *name) const
    {
        to = reinterpret_cast<Pointer>(m_library.resolve(name));
        return to != nullptr;
    }

private:
    mutable QLibrary m_library;
};

} // namespace tintavo
