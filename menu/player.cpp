#include "menu/player.h"

#include "base/config_names.h"

#include <cstring>

const char* const kPlayerMissingFormat = "The player program was not found\n\nprogram=%s\n\nkey=%s";
const char* const kPlayerStartFailedFormat =
    "Failed to start the player program\n\nprogram=%s\n\nkey=%s";
const char* const kPlayerCommandTooLongFormat =
    "The player's command line is too long to start\n\nkey=%s";

namespace {

const char* const kGamePathMark = "%1";

// Appends n characters of text to the text of dst (length characters so far); false when the
// result and its terminator do not fit in size.
bool Append(char* dst, std::size_t size, std::size_t& length, const char* text, std::size_t n) {
    if (n >= size - length)
        return false;
    std::memcpy(dst + length, text, n);
    length += n;
    dst[length] = '\0';
    return true;
}

bool Append(char* dst, std::size_t size, std::size_t& length, const char* text) {
    return Append(dst, size, length, text, std::strlen(text));
}

// A blank, then the arguments of a player's command line with every "%1" replaced by the
// game's path, or the quoted path appended when there is none.
bool AppendArguments(char* dst, std::size_t size, std::size_t& length, const char* args,
                     const char* gamePath) {
    if (!Append(dst, size, length, " "))
        return false;
    const char* mark = std::strstr(args, kGamePathMark);
    if (!mark)
        return Append(dst, size, length, args) && Append(dst, size, length, *args ? " \"" : "\"") &&
               Append(dst, size, length, gamePath) && Append(dst, size, length, "\"");
    for (; mark; mark = std::strstr(args, kGamePathMark)) {
        if (!Append(dst, size, length, args, static_cast<std::size_t>(mark - args)) ||
            !Append(dst, size, length, gamePath))
            return false;
        args = mark + std::strlen(kGamePathMark);
    }
    return Append(dst, size, length, args);
}

} // namespace

PlayerCommand PlayerFor(const LaunchSettings& settings, GameKind kind) {
    switch (kind) {
    case GameKind::Flash:
        return PlayerCommand{kSwfPlayerKey, settings.strSwfPlayer};
    case GameKind::Shockwave:
        return PlayerCommand{kDcrPlayerKey, settings.strDcrPlayer};
    case GameKind::WebPage:
        return PlayerCommand{kHtmPlayerKey, settings.strHtmPlayer};
    default:
        return PlayerCommand{nullptr, ""};
    }
}

bool PlayerTakesGame(const LaunchSettings& settings, GameKind kind, bool bControlInstalled) {
    if (PlayerFor(settings, kind).command[0] == '\0')
        return false;
    return kind == GameKind::WebPage || settings.bPlayerFirst || !bControlInstalled;
}

const char* SplitPlayerProgram(const char* command, char* program, std::size_t size) {
    command = SkipBlanks(command, IsSpaceOrTab);
    bool quoted = *command == '"';
    const char* start = quoted ? command + 1 : command;
    const char* end = start;
    while (*end && (quoted ? *end != '"' : !IsSpaceOrTab(CharValue(*end))))
        ++end;
    const char* rest = quoted && *end ? end + 1 : end;
    if (size == 0)
        return nullptr;
    program[0] = '\0';
    std::size_t length = 0;
    if (!Append(program, size, length, start, static_cast<std::size_t>(end - start)))
        return nullptr;
    return SkipBlanks(rest, IsSpaceOrTab);
}

bool MakePlayerCommand(const char* command, const char* workDir, const char* gamePath,
                       char* programPath, std::size_t programSize, char* commandLine,
                       std::size_t commandSize) {
    char program[TEXT_MAX];
    const char* args = SplitPlayerProgram(command, program, sizeof program);
    bool placed =
        args && (IsAbsolutePath(program) ? CopyText(programPath, programSize, program)
                                         : JoinPath(programPath, programSize, workDir, program));
    std::size_t length = 0;
    if (commandSize > 0)
        commandLine[0] = '\0';
    if (placed && Append(commandLine, commandSize, length, "\"") &&
        Append(commandLine, commandSize, length, programPath) &&
        Append(commandLine, commandSize, length, "\"") &&
        AppendArguments(commandLine, commandSize, length, args, gamePath))
        return true;
    if (programSize > 0)
        programPath[0] = '\0';
    if (commandSize > 0)
        commandLine[0] = '\0';
    return false;
}
