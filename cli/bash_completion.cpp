// The bash completion script, made by walking a tool's command-line definitions so that it
// offers exactly the commands and options the tool accepts.
#include <algorithm>
#include <cctype>
#include <sstream>

#include "cli/command_line.h"

namespace cli {

namespace {

bool Hidden(const CLI::Option& option) {
    return option.get_group().empty();
}

// The option's names, e.g. "-h --help"; empty for a positional argument.
std::vector<std::string> Names(const CLI::Option& option) {
    std::vector<std::string> names;
    for (const auto& s : option.get_snames()) names.push_back("-" + s);
    for (const auto& l : option.get_lnames()) names.push_back("--" + l);
    return names;
}

std::string Join(const std::vector<std::string>& words, const char* separator) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : separator) + w;
    return out;
}

void Collect(const CLI::App& app, std::vector<std::string>& options,
             std::vector<std::string>& valued) {
    for (const CLI::Option* option : app.get_options()) {
        if (Hidden(*option)) continue;
        for (const auto& name : Names(*option)) {
            if (std::find(options.begin(), options.end(), name) == options.end())
                options.push_back(name);
            const bool takesValue = option->get_items_expected_min() > 0;
            if (takesValue && std::find(valued.begin(), valued.end(), name) == valued.end())
                valued.push_back(name);
        }
    }
}

std::string FunctionName(const std::string& tool) {
    std::string name = "_";
    for (char c : tool) name += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return name + "_complete";
}

}  // namespace

std::string BashCompletion(const CLI::App& app, const std::string& tool) {
    std::vector<std::string> globals, valued, commands;
    Collect(app, globals, valued);
    std::vector<std::pair<std::string, std::vector<std::string>>> commandOptions;
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
        commands.push_back(command->get_name());
        std::vector<std::string> own;
        Collect(*command, own, valued);
        for (const auto& g : globals)
            if (std::find(own.begin(), own.end(), g) == own.end()) own.push_back(g);
        commandOptions.emplace_back(command->get_name(), own);
    }
    const std::string function = FunctionName(tool);
    std::ostringstream out;
    out << "# bash completion for " << tool << "; made by '" << tool << " --bash-completion'.\n"
        << function << "() {\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        << "    local command=\"\" i\n"
        << "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        << "        case ${COMP_WORDS[i]} in\n";
    if (!valued.empty()) out << "            " << Join(valued, "|") << ") ((i++)) ;;\n";
    out << "            -*) ;;\n"
        << "            *) command=${COMP_WORDS[i]}; break ;;\n"
        << "        esac\n"
        << "    done\n";
    // After an option that takes a value, the shell's own completion (file names) is used.
    if (!valued.empty())
        out << "    case $prev in\n"
            << "        " << Join(valued, "|") << ") return ;;\n"
            << "    esac\n";
    out << "    local options=\"" << Join(globals, " ") << "\"\n"
        << "    case $command in\n";
    for (const auto& [name, own] : commandOptions)
        out << "        " << name << ") options=\"" << Join(own, " ") << "\" ;;\n";
    out << "    esac\n"
        << "    if [[ $cur == -* ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n";
    if (!commands.empty())
        out << "    elif [[ -z $command ]]; then\n"
            << "        COMPREPLY=($(compgen -W \"" << Join(commands, " ") << "\" -- \"$cur\"))\n";
    out << "    fi\n"
        << "}\n"
        << "complete -o default -F " << function << " " << tool << "\n";
    return out.str();
}

}  // namespace cli
