#include "platform/RunningApps.h"

namespace RunningApps {

QList<RunningApp> list()
{
    return {};
}

} // namespace RunningApps
