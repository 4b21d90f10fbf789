#include "menu/menu_messages.h"

#include "base/program.h"

// The head of the texts about a configuration file that does not describe a menu (a literal, so
// that the compiler checks each whole format against its arguments).
#define TOVAK_CONFIG_PROBLEM "%s - Settings config problem\n\n%s\n\n"

bool FormatMenuLoadError(const MenuLoadError& error, const char* configPath, char* text,
                         std::size_t size) {
    switch (error.kind) {
    case MenuLoadErrorKind::SectionNameTooLong:
        return FormatText(text, size,
                          TOVAK_CONFIG_PROBLEM "Menu section name is too long (at most %d "
                                               "characters)",
                          kProgramName, configPath, error.nLimit);
    case MenuLoadErrorKind::TooManySelections:
        return FormatText(text, size,
                          "Too many selections specified in ini file numselections=%d, max=%d",
                          error.nCount, error.nLimit);
    case MenuLoadErrorKind::NotEnoughValues:
        return FormatText(text, size, TOVAK_CONFIG_PROBLEM "%s - not enough values specified",
                          kProgramName, configPath, error.strKey);
    case MenuLoadErrorKind::NoSelections:
        return FormatText(text, size, TOVAK_CONFIG_PROBLEM "No valid screen settings found",
                          kProgramName, configPath);
    case MenuLoadErrorKind::TitleImageFailed:
        return FormatText(text, size, "%s - failed to load title screen image %s", kProgramName,
                          error.strName);
    case MenuLoadErrorKind::None:
        break;
    }
    return CopyText(text, size, "");
}
