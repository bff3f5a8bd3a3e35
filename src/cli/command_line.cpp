#include "cli/command_line.hpp"

#include <algorithm>
#include <cctype>

#include "textengine/codepage.hpp"

namespace ravlet::cli {
namespace {

constexpr ArgumentSpec kVersion{"VERSION", ArgumentKind::Name,
                                "имя версии, как его выводит versions"};
constexpr ArgumentSpec kGroup{"GROUP", ArgumentKind::Group,
                              "заголовок группы в скобках, например [Video]"};
constexpr ArgumentSpec kKey{"KEY", ArgumentKind::Name, "имя параметра"};
constexpr ArgumentSpec kIni{"INI", ArgumentKind::File, "файл настроек"};
constexpr OptionSpec kVersionOfIni{"--version", "V", "версия V; без опции — распознанная по INI",
                                   ArgumentKind::Name};

constexpr OptionSpec kBaseOption{
    "--base", "FILE", "база версий; без опции rvbase.txt текущей папки (до или после команды)"};
constexpr OptionSpec kWaitOption{
    "--wait", "SECONDS",
    "ждать файл, занятый другой программой, не дольше SECONDS секунд (без опции 30)"};

const std::vector<CommandSpec> kCommands = {
    {CommandId::Versions, "versions", {}, {}, "имена версий в порядке базы"},
    {CommandId::Detect,
     "detect",
     {kIni},
     {},
     "версия, к которой относится INI; нераспознанный файл: имя последней версии, сообщение и "
     "статус 1"},
    {CommandId::Groups, "groups", {kVersion}, {}, "заголовки групп версии"},
    {CommandId::Params,
     "params",
     {kVersion, kGroup},
     {{"--full", "", "также параметры полного списка (строки базы с «-»)"}},
     "имена параметров группы (с --full и параметры «-»)"},
    {CommandId::Values,
     "values",
     {kVersion,
      kGroup,
      kKey,
      {"INI", ArgumentKind::File, "файл настроек, чьё текущее значение отмечается"}},
     {},
     "допустимые значения; «* » отмечает выбранное текущим значением в INI, остальные начинаются с "
     "двух пробелов"},
    {CommandId::Hint,
     "hint",
     {kGroup, kKey},
     {},
     "подсказка параметра (пустая строка, если её нет)"},
    {CommandId::Get,
     "get",
     {{"FILE", ArgumentKind::File, "любой файл: файл настроек или база версий"}, kKey},
     {{"--group", "G", "искать только в группе G (заголовок в скобках, \"\" — вне групп)",
       ArgumentKind::GroupOrNone},
      {"--version", "V", "читать FILE как базу версий, от метки версии V", ArgumentKind::Name}},
     "значение ключа в любом файле: с --version как в базе версий, без неё как в файле настроек"},
    {CommandId::Set,
     "set",
     {kIni,
      {"GROUP", ArgumentKind::GroupOrNone, "заголовок группы в скобках; \"\" — ключ вне групп"},
      kKey,
      {"VALUE", ArgumentKind::Value, "новое значение; ON и OFF записываются как 1 и 0"}},
     {},
     "записывает VALUE в ключ группы; без такого ключа или группы ничего не меняет (статус 1)"},
    {CommandId::Defaults,
     "defaults",
     {{"INI", ArgumentKind::File, "файл настроек, который изменяется"}},
     {kVersionOfIni, {"--dry-run", "", "вывести получившийся файл в stdout, ничего не записывать"}},
     "ставит каждому параметру версии значение по умолчанию там, где ключ есть в INI"},
    {CommandId::Transfer,
     "transfer",
     {{"OLD", ArgumentKind::File, "старый файл настроек, откуда берутся значения"},
      {"INI", ArgumentKind::File, "файл настроек, который изменяется"}},
     {{"--dry-run", "",
       "вывести получившийся файл в stdout, отчёт в stderr, ничего не записывать"}},
     "переносит значения из OLD в INI и выводит отчёт о перенесённых"},
    {CommandId::Check,
     "check",
     {kIni},
     {kVersionOfIni},
     "что в INI нарушает правила версии, по строке на каждое; статус 1, если что-то выведено"},
    {CommandId::Changed,
     "changed",
     {kIni},
     {kVersionOfIni},
     "[G]K=VALUE для каждого параметра, чьё значение в INI не по умолчанию"},
    {CommandId::Diff,
     "diff",
     {{"OLD", ArgumentKind::File, "файл настроек, с которым сравнивается INI"}, kIni},
     {kVersionOfIni},
     "[G]K: A -> B для каждого параметра, чьи значения в OLD и INI различаются; статус 1, если "
     "что-то выведено"},
    {CommandId::CheckBase,
     "check-base",
     {},
     {},
     "ошибки базы версий, по строке «ФАЙЛ:СТРОКА: сообщение» на каждую; статус 1, если что-то "
     "выведено"},
    {CommandId::VersionsDiff,
     "versions-diff",
     {{"V1", ArgumentKind::Name, "версия, с которой сравнивается V2"},
      {"V2", ArgumentKind::Name, "версия, чьи изменения выводятся"}},
     {},
     "что версия V2 меняет против V1: +[G], -[G], +[G]K=SPEC, -[G]K=SPEC, [G]K: A -> B; статус 1, "
     "если что-то выведено"},
    {CommandId::Recover,
     "recover",
     {{"INI", ArgumentKind::File, "файл настроек, чья запись была прервана"}},
     {},
     "возвращает INI прежний текст из копии, оставленной прерванной записью, и удаляет копию"},
};

std::string Padded(std::string_view text, std::size_t width) {
    std::string line(text);
    if (line.size() < width) line.append(width - line.size(), ' ');
    return line;
}

std::string OptionColumn(const OptionSpec& option) {
    std::string column(option.name);
    if (!option.valueName.empty()) column.append(" ").append(option.valueName);
    return column;
}

const CommandSpec* FindCommand(std::string_view name) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [&](const CommandSpec& c) { return c.name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

const OptionSpec* FindOption(const CommandSpec* command, std::string_view name) {
    if (name == kBaseOption.name) return &kBaseOption;
    if (name == kWaitOption.name) return &kWaitOption;
    if (command == nullptr) return nullptr;
    const auto it = std::find_if(command->options.begin(), command->options.end(),
                                 [&](const OptionSpec& o) { return o.name == name; });
    return it == command->options.end() ? nullptr : &*it;
}

// "-" names standard input in many programs and "-5" is a value, not an option.
bool LooksLikeOption(std::string_view arg) {
    return arg.size() > 1 && arg[0] == '-' && std::isdigit(static_cast<unsigned char>(arg[1])) == 0;
}

std::string UsageLine(const CommandSpec& command) {
    return "ravlet-cli [--base FILE] " + Synopsis(command);
}

class Parser {
public:
    Parser(int argc, const char* const* argv, Terminal terminal)
        : argc_(argc), argv_(argv), terminal_(terminal) {}

    CommandLine Parse() {
        bool optionsEnded = false;
        std::vector<std::string> positionals;
        for (int i = 1; i < argc_; ++i) {
            const std::string arg = argv_[i];
            if (!optionsEnded && LooksLikeOption(arg)) {
                if (arg == "--") {
                    optionsEnded = true;
                } else if (arg == "--help" || arg == "-h") {
                    line_.request = CommandLine::Request::Help;
                    return std::move(line_);
                } else if (arg == "--version" && line_.command == nullptr) {
                    line_.request = CommandLine::Request::Version;
                    return std::move(line_);
                } else {
                    TakeOption(arg, i);
                }
            } else if (line_.command == nullptr) {
                line_.command = FindCommand(arg);
                if (line_.command == nullptr) Fail("неизвестная команда " + Quoted(arg));
            } else {
                positionals.push_back(arg);
            }
        }
        if (line_.command == nullptr) Fail("не задана команда");
        const auto& expected = line_.command->arguments;
        if (positionals.size() > expected.size())
            Fail("лишний аргумент " + Quoted(positionals[expected.size()]));
        if (positionals.size() < expected.size()) {
            Fail("не задан аргумент " + std::string(expected[positionals.size()].name));
        }
        for (std::size_t n = 0; n < expected.size(); ++n)
            line_.arguments[expected[n].name] = positionals[n];
        return std::move(line_);
    }

private:
    // `arg` is an option; a value in the next argument moves `i` past it.
    void TakeOption(const std::string& arg, int& i) {
        const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const OptionSpec* option = FindOption(line_.command, name);
        if (option == nullptr) Fail("неизвестная опция " + Quoted(arg));
        if (option->valueName.empty()) {
            if (equals != std::string::npos) Fail("опция " + name + " не принимает значения");
            if (!line_.flags.insert(option->name).second) Fail("опция " + name + " задана дважды");
            return;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 >= argc_) {
            Fail("не задано значение опции " + name + " (" + std::string(option->valueName) + ")");
        } else {
            value = argv_[++i];
            // "--group --version" is more likely a forgotten value than a group named so.
            if (LooksLikeOption(value))
                Fail("вместо значения опции " + name + " задана опция " + Quoted(value));
        }
        if (option == &kBaseOption) {
            if (baseGiven_) Fail("опция --base задана дважды");
            baseGiven_ = true;
            line_.base = std::move(value);
            return;
        }
        if (option == &kWaitOption) {
            if (line_.wait) Fail("опция --wait задана дважды");
            if (value.empty() || value.size() > 6 ||
                value.find_first_not_of("0123456789") != std::string::npos) {
                Fail("опция --wait ожидает число секунд, а не " + Quoted(value));
            }
            line_.wait = std::stoi(value);
            return;
        }
        if (!line_.options.emplace(option->name, std::move(value)).second)
            Fail("опция " + name + " задана дважды");
    }

    std::string Quoted(const std::string& arg) const { return QuotedArgument(arg, terminal_); }

    [[noreturn]] void Fail(const std::string& what) const {
        if (line_.command == nullptr) {
            throw CommandLineError("ravlet-cli: " + what + "\nСписок команд: ravlet-cli --help");
        }
        throw CommandLineError("ravlet-cli " + std::string(line_.command->name) + ": " + what +
                               "\nИспользование: " + UsageLine(*line_.command));
    }

    int argc_;
    const char* const* argv_;
    Terminal terminal_;
    CommandLine line_;
    bool baseGiven_ = false;
};

}  // namespace

const std::vector<CommandSpec>& Commands() { return kCommands; }

std::string Synopsis(const CommandSpec& command) {
    std::string text(command.name);
    for (const ArgumentSpec& argument : command.arguments) text.append(" ").append(argument.name);
    for (const OptionSpec& option : command.options)
        text.append(" [").append(OptionColumn(option)).append("]");
    return text;
}

std::string GeneralHelp() {
    std::size_t width = 0;
    for (const CommandSpec& command : kCommands) width = std::max(width, Synopsis(command).size());
    std::string text =
        "ravlet-cli: файл настроек tarven.ini эмулятора Tarven Pimlow по базе версий rvbase.txt\n"
        "\n"
        "Использование: ravlet-cli [--base FILE] [--wait SECONDS] COMMAND ARGS...\n"
        "               ravlet-cli COMMAND --help\n"
        "               ravlet-cli --help | --version\n"
        "\n"
        "Команды:\n";
    for (const CommandSpec& command : kCommands) {
        text += "  " + Padded(Synopsis(command), width + 2) + std::string(command.help) + "\n";
    }
    text +=
        "\n"
        "Опции:\n"
        "  --base FILE     " +
        std::string(kBaseOption.help) +
        "\n"
        "  --wait SECONDS  " +
        std::string(kWaitOption.help) +
        "\n"
        "  -h, --help      справка; после команды — справка по этой команде\n"
        "  --version       версия программы (до команды)\n"
        "  --              дальше только аргументы, даже если они начинаются с \"-\"\n"
        "\n"
        "GROUP — заголовок группы в скобках, как его выводит groups: [Video]. Вывод — по одному\n"
        "элементу в строке; имена и значения выводятся и принимаются в кодировке терминала\n"
        "(UTF-8 или Windows-1251), сообщения идут в stderr. С --dry-run получившийся файл\n"
        "выводится в stdout своими байтами Windows-1251 и ничего не записывается.\n"
        "\n"
        "Статус выхода: 0 выполнено; 1 не найдено или не распознано; 2 ошибка в аргументах;\n"
        "3 ошибка файла (не читается, не записывается, не обычный файл) или вывода.\n";
    return text;
}

std::string CommandHelp(const CommandSpec& command) {
    std::vector<std::pair<std::string, std::string_view>> rows;
    for (const ArgumentSpec& argument : command.arguments)
        rows.emplace_back(argument.name, argument.help);
    const std::size_t arguments = rows.size();
    for (const OptionSpec& option : command.options)
        rows.emplace_back(OptionColumn(option), option.help);
    rows.emplace_back(OptionColumn(kBaseOption), kBaseOption.help);
    rows.emplace_back(OptionColumn(kWaitOption), kWaitOption.help);
    rows.emplace_back("-h, --help", "эта справка");
    std::size_t width = 0;
    for (const auto& row : rows) width = std::max(width, row.first.size());

    std::string text =
        "Использование: " + UsageLine(command) + "\n" + std::string(command.help) + "\n";
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (n == 0 && arguments > 0) text += "\nАргументы:\n";
        if (n == arguments) text += "\nОпции:\n";
        text += "  " + Padded(rows[n].first, width + 2) + std::string(rows[n].second) + "\n";
    }
    return text;
}

const std::string& CommandLine::Argument(std::string_view name) const {
    static const std::string none;
    const auto it = arguments.find(name);
    return it == arguments.end() ? none : it->second;
}

std::optional<std::string> CommandLine::Option(std::string_view name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

bool CommandLine::Flag(std::string_view name) const { return flags.count(name) > 0; }

CommandLine ParseCommandLine(int argc, const char* const* argv, Terminal terminal) {
    return Parser(argc, argv, terminal).Parse();
}

}  // namespace ravlet::cli
