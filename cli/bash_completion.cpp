#include "cli/bash_completion.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace zmr::cli {
namespace {

enum class ValueKind { None, Choices, Number, Word, File };

struct OptionModel {
    std::vector<std::string> names;  // -o --output, as typed
    ValueKind value = ValueKind::None;
    std::vector<std::string> choices;
};

struct CommandModel {
    std::string name;
    std::vector<OptionModel> options;
    bool operands = false;  // takes positional arguments (file names)
};

// CLI11 describes a fixed set of values in the option's type name, after the
// type: "TEXT:{cd650,cd700}" for a set, "ENUM:value in {utf8->1,...} OR {1,...}"
// for a mapping, whose keys are what the user types.
std::vector<std::string> choicesOf(const std::string& typeName) {
    const size_t open = typeName.find('{');
    const size_t close = open == std::string::npos ? std::string::npos : typeName.find('}', open);
    if (close == std::string::npos) return {};
    std::vector<std::string> choices;
    const std::string_view list = std::string_view(typeName).substr(open + 1, close - open - 1);
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        std::string_view choice = list.substr(start, comma - start);
        choice = choice.substr(0, choice.find("->"));
        if (!choice.empty()) choices.emplace_back(choice);
        start = comma + 1;
    }
    return choices;
}

// File names for the types of paths; a word of the user's own (a disc's NAME)
// is not completed.
bool isPathType(const std::string& typeName) {
    for (const std::string_view path : {"TEXT", "FILE", "DIR", "PATH"}) {
        if (typeName.find(path) != std::string::npos) return true;
    }
    return false;
}

bool isNumberType(const std::string& typeName) {
    for (const std::string_view number : {"INT", "UINT", "FLOAT", "NUMBER"}) {
        if (typeName.starts_with(number) && (typeName.size() == number.size() || typeName[number.size()] == ':'))
            return true;
    }
    return false;
}

OptionModel optionModel(const CLI::Option& option) {
    OptionModel model;
    for (const std::string& name : option.get_snames()) model.names.push_back("-" + name);
    for (const std::string& name : option.get_lnames()) model.names.push_back("--" + name);
    if (option.get_items_expected_max() > 0) {
        const std::string typeName = option.get_type_name();
        model.choices = choicesOf(typeName);
        model.value = !model.choices.empty()  ? ValueKind::Choices
                      : isNumberType(typeName) ? ValueKind::Number
                      : isPathType(typeName)   ? ValueKind::File
                                               : ValueKind::Word;
    }
    return model;
}

CommandModel commandModel(const CLI::App& command) {
    CommandModel model{command.get_name(), {}, false};
    for (const CLI::Option* option : command.get_options()) {
        if (option->nonpositional()) {
            model.options.push_back(optionModel(*option));
        } else if (option->get_positional()) {
            model.operands = true;
        }
    }
    return model;
}

// Names and values here are the program's own words; quoting keeps the script
// sound whatever they hold.
std::string quoted(const std::string& word) {
    std::string out = "'";
    for (const char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& word : words) out += (out.empty() ? "" : " ") + word;
    return out;
}

std::vector<std::string> optionNames(const CommandModel& command) {
    std::vector<std::string> names;
    for (const OptionModel& option : command.options) names.insert(names.end(), option.names.begin(), option.names.end());
    return names;
}

// The case branches that complete an option's value, with prev the option.
std::string valueCases(const CommandModel& command, const std::string& function, const std::string& indent) {
    std::string out;
    for (const OptionModel& option : command.options) {
        if (option.value == ValueKind::None) continue;
        std::string pattern;
        for (const std::string& name : option.names) pattern += (pattern.empty() ? "" : "|") + quoted(name);
        out += indent + pattern + ") ";
        switch (option.value) {
            case ValueKind::Choices: out += function + "_words " + quoted(joined(option.choices)) + "; return ;;\n"; break;
            case ValueKind::Number: out += "return ;;  # a number\n"; break;
            case ValueKind::Word: out += "return ;;  # a word of the user's own\n"; break;
            default: out += function + "_files; return ;;\n"; break;
        }
    }
    return out;
}

}  // namespace

std::string bashCompletionScript(const CLI::App& app, const std::string& program) {
    std::vector<CommandModel> commands;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App* sub) { return !sub->get_group().empty(); }))
        commands.push_back(commandModel(*command));
    const CommandModel root = commandModel(app);
    std::vector<std::string> commandNames;
    for (const CommandModel& command : commands) commandNames.push_back(command.name);

    std::string function = "_" + program;
    std::replace(function.begin(), function.end(), '-', '_');
    const std::string words = function + "_words", files = function + "_files";
    std::string s;
    s += "# bash completion for " + program + ", written by \"" + program + " completion bash\" from the\n";
    s += "# program's own subcommands and options.\n\n";
    // The helpers see the completion function's cur.
    s += words + "() { mapfile -t COMPREPLY < <(compgen -W \"$1\" -- \"$cur\"); }\n";
    s += files + "() { compopt -o filenames 2>/dev/null; mapfile -t COMPREPLY < <(compgen -f -- \"$cur\"); }\n\n";
    s += function + "()\n{\n";
    s += "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n";
    s += "    # With '=' among COMP_WORDBREAKS, --option=value arrives as three words.\n";
    s += "    if [[ $cur == = ]]; then\n        cur=\n";
    s += "    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then\n        prev=${COMP_WORDS[COMP_CWORD-2]}\n    fi\n";
    s += "    local command= i\n";
    s += "    for ((i = 1; i < COMP_CWORD; i++)); do\n";
    s += "        case ${COMP_WORDS[i]} in\n";
    if (!commandNames.empty()) {
        std::string pattern;
        for (const std::string& name : commandNames) pattern += (pattern.empty() ? "" : "|") + quoted(name);
        s += "            " + pattern + ") command=${COMP_WORDS[i]}; break ;;\n";
    }
    s += "        esac\n    done\n";
    s += "    local options= operands=\n";
    s += "    case $command in\n";
    s += "        '')\n";
    s += "            options=" + quoted(joined(optionNames(root))) + "\n";
    const std::string rootCases = valueCases(root, function, "                ");
    if (!rootCases.empty()) s += "            case $prev in\n" + rootCases + "            esac\n";
    s += "            if [[ $cur != -* ]]; then " + words + " " + quoted(joined(commandNames)) + "; return; fi ;;\n";
    for (const CommandModel& command : commands) {
        s += "        " + quoted(command.name) + ")\n";
        s += "            options=" + quoted(joined(optionNames(command))) + "\n";
        if (command.operands) s += "            operands=1\n";
        const std::string cases = valueCases(command, function, "                ");
        if (!cases.empty()) s += "            case $prev in\n" + cases + "            esac\n";
        s += "            ;;\n";
    }
    s += "    esac\n";
    s += "    if [[ $cur == -* ]]; then\n        " + words + " \"$options\"\n";
    s += "    elif [[ -n $operands ]]; then\n        " + files + "\n    else\n        COMPREPLY=()\n    fi\n";
    s += "}\n";
    s += "complete -F " + function + " " + program + "\n";
    return s;
}

}  // namespace zmr::cli
