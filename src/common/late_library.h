#pragma once

#include <dlfcn.h>

namespace tintavo {

// A shared library loaded the first time a feature needs it, rather than by
// every start of the program: what the main window never uses need not cost
// its start time or memory. Kept loaded for the rest of the run.
class LateLibrary
{
public:
    explicit LateLibrary(const char *soname) : m_handle(dlopen(soname, RTLD_LAZY | RTLD_LOCAL))
    {
    }

    // Sets `to` to the library's `name`; false (and `to` null) where it has none.
    template <typename Pointer> bool find(Pointer &to, const char *name) const
    {
        to = m_handle ? reinterpret_cast<Pointer>(dlsym(m_handle, name)) : nullptr;
        return to != nullptr;
    }

private:
    void *m_handle;
};

} // namespace tintavo
