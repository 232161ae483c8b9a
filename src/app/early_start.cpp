#include "app/early_start.h"

#include <fontconfig/fontconfig.h>

namespace tintavo {

EarlyStart::EarlyStart(const QString &settingsPath)
    : m_work(std::async(std::launch::async, [settingsPath] {
          // The toolkit's first text measurement would otherwise read the
          // whole font configuration on the window's thread; fontconfig keeps
          // one configuration for the process, whichever thread loaded it.
          FcInit();
          return settingsPath.isEmpty() ? StartState{} : readStartState(settingsPath);
      }))
{
}

} // namespace tintavo
