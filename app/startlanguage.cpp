#include "startlanguage.h"

#include "settings/tooloptions.h"
#include "ui/translation.h"

namespace rovi {

Language StartLanguage()
{
    const auto chosen = settings::LoadStoredSettings(settings::kIniPath).options.language;
    return chosen.value_or(SystemLanguage(SystemLocaleName()));
}

} // namespace rovi
