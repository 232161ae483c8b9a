#include "session/start_state.h"

#include "colorbox/color_box_model.h"
#include "settings/copy_formats.h"
#include "settings/ini_settings.h"
#include "settings/safe_file.h"

#include <algorithm>

namespace tintavo {

StartState readStartState(const QString &path)
{
    StartState state;
    // A save cut off while rewriting the file in place is finished before the
    // file is read.
    state.restoredFiles = restoreInterruptedSaves(path);
    const SettingsSnapshot file(path);
    state.settings = file.settings();
    state.copyFormats = readCopyFormats(file.profile());
    // At least two swatches; and no more than the box's indices can number,
    // whatever a hand-edited file asks for.
    state.settings.swatchCount =
        std::clamp(state.settings.swatchCount, 2, ColorBoxModel::kMaxSwatches);
    if (state.settings.autoLoad) {
        const std::vector<ColorValue> stored = file.storedColors(state.settings.swatchCount);
        state.storedColors.resize(stored.size());
        std::transform(stored.begin(), stored.end(), state.storedColors.begin(),
                       [](ColorValue c) { return toRgb(c); });
    }
    return state;
}

} // namespace tintavo
