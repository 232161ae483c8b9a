#include "app/early_start.h"

#include <fontconfig/fontconfig.h>

namespace tintavo {

EarlyStart::EarlyStart(const QString &settingsPath)
    : m_work(std::async(std::launch::async, [this, settingsPath] {
          FcInit();
          m_fontsLoaded.count_down();
          return settingsPath.isEmpty() ? StartState{} : readStartState(settingsPath);
      }))
{
}

} // namespace tintavo
