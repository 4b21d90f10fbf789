#include "menu/run_settings.h"

#include "base/config_names.h"

void ReadRunSettings(IProfileReader& profile, RunSettings& settings) {
    // The checker offers these keys in this order as the nearest to a misspelt key, the first
    // of equally near ones winning.
    const char* s = kSettingsSection;
    char text[TEXT_MAX];
    profile.GetString(s, kDebugKey, "N", text, sizeof text);
    settings.log.bEnabled = IsYes(text);
    profile.GetString(s, kDebugFileKey, kDefaultLogFileName, settings.log.strFile, TEXT_MAX);

    profile.GetString(s, kPadKey, "", text, sizeof text);
    PadMappingValue value;
    char ignored[TEXT_MAX];
    ParsePadMapping(text, value, ignored, sizeof ignored);
    settings.pad = DefaultPadMapping();
    ApplyPadMapping(settings.pad, value);

    LaunchSettings& launch = settings.launch;
    profile.GetString(s, kBrowserModeKey, "Y", text, sizeof text);
    launch.bBrowserEmulation = IsYes(text);
    profile.GetString(s, kDcrPlayerKey, "", launch.strDcrPlayer, TEXT_MAX);
    profile.GetString(s, kHtmPlayerKey, "", launch.strHtmPlayer, TEXT_MAX);
    profile.GetString(s, kPlayerFirstKey, "N", text, sizeof text);
    launch.bPlayerFirst = IsYes(text);
    profile.GetString(s, kSwfPlayerKey, "", launch.strSwfPlayer, TEXT_MAX);

    profile.GetString(s, kFullScreenKey, "", text, sizeof text);
    settings.fullScreen = FullScreenWay::Switch;
    ParseFullScreenWay(text, settings.fullScreen);
}
