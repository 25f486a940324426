#include "shell/FontConfigWarmUp.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <dlfcn.h>
#endif

namespace {

using FcInitFunction = int (*)();

// The font library's initialiser, if the library is already in the process
// (the toolkit's graphics library brings it); nothing is loaded here.
FcInitFunction fontConfigInit()
{
#ifndef Q_OS_UNIX
    return nullptr;  // fonts come from the system's own font service there
#else
    void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return nullptr;
    auto init = reinterpret_cast<FcInitFunction>(dlsym(library, "FcInit"));
    // The toolkit keeps the library loaded; this handle's count goes again.
    dlclose(library);
    return init;
#endif
}

}  // namespace

FontConfigWarmUp::FontConfigWarmUp()
{
    // Loading the configuration is safe against the toolkit doing the same at
    // once: the library installs whichever finishes first and drops the other.
    if (FcInitFunction init = fontConfigInit()) {
        m_thread = std::thread([init] { init(); });
        m_started = true;
    }
}

FontConfigWarmUp::~FontConfigWarmUp() { wait(); }

void FontConfigWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
