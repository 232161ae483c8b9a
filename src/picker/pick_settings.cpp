#include "picker/pick_settings.h"

#include "picker/area_sample.h"
#include "picker/loupe_cells.h"
#include "settings/settings.h"

namespace tintavo {

PickSettings pickSettings(const Settings &settings)
{
    return {.loupe = settings.loupe,
            .sampleSize = sampleSizeFromSetting(settings.sampleSize),
            .loupeCells = loupeCellsFromSetting(settings.loupeCells),
            .colorManaged = settings.colorManaged};
}

} // namespace tintavo
