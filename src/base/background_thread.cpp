#include "base/background_thread.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {
constexpr int BackgroundNice = 10;
} // namespace

void GiveWayToTheWindow()
{
    ::setpriority(PRIO_PROCESS, ::gettid(), BackgroundNice);
}
