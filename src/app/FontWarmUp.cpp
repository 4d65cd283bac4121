#include "app/FontWarmUp.h"

#ifdef TARNWICK_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontWarmUp::FontWarmUp()
{
#ifdef TARNWICK_HAVE_FONTCONFIG
    // The font library loads its configuration once per process, safely from any thread; the
    // toolkit finds it loaded when it first asks.
    m_thread = std::thread([] { FcInit(); });
#endif
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
