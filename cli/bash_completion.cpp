#include "cli/bash_completion.h"

#include <vector>

#include "cli/option_table.h"
#include "report/report_input.h"

namespace vortalis::cli {

namespace {

// Words for compgen -W, single-quoted; the table's words hold no quote.
std::string Words(const std::vector<std::string>& words) {
  std::string text = "'";
  for (const std::string& word : words) text += (text.size() > 1 ? " " : "") + word;
  return text + "'";
}

std::string Names(const OptionSpec& spec) {
  return std::string(spec.name) + (spec.shortName.empty() ? "" : "|" + std::string(spec.shortName));
}

unsigned KindOf(std::string_view subcommand) {
  return subcommand == kSubcommands[0] ? kCircular : kRectangular;
}

geometry::LengthUnit InitialUnit(std::string_view subcommand) {
  return KindOf(subcommand) == kCircular
             ? report::UnitOf(report::CircularReportInput{})
             : report::UnitOf(report::RectangularReportInput{});
}

}  // namespace

std::string BashCompletionScript() {
  std::string script =
      "# bash completion for vortalis-report                     -*- shell-script -*-\n"
      "# Made from the tool's option table when it was built.\n"
      "\n"
      "_vortalis_report_words()\n"
      "{\n"
      "    mapfile -t COMPREPLY < <(compgen -W \"$1\" -- \"$cur\")\n"
      "}\n"
      "\n"
      "_vortalis_report_files()\n"
      "{\n"
      "    compopt -o filenames 2>/dev/null\n"
      "    mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
      "}\n"
      "\n"
      "_vortalis_report()\n"
      "{\n"
      "    local cur=${COMP_WORDS[COMP_CWORD]} words=() i\n"
      "    COMPREPLY=()\n"
      "    # readline splits --unit=mm into three words; drop the \"=\".\n"
      "    [[ $cur == = ]] && cur=\n"
      "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
      "        [[ ${COMP_WORDS[i]} == = ]] || words+=(\"${COMP_WORDS[i]}\")\n"
      "    done\n"
      "    local n=${#words[@]}\n"
      "    if ((n == 0)); then\n";
  std::vector<std::string> first(kSubcommands.begin(), kSubcommands.end());
  for (const OptionSpec& spec : OptionTable()) {
    if (spec.id == OptionId::Help || spec.id == OptionId::Version)
      first.emplace_back(spec.name);
  }
  script += "        _vortalis_report_words " + Words(first) + "\n";
  script +=
      "        return\n"
      "    fi\n"
      "    local prev=${words[n-1]} prev2=\n"
      "    ((n >= 2)) && prev2=${words[n-2]}\n"
      "    local unit\n"
      "    case ${words[0]} in\n";
  for (const std::string_view subcommand : kSubcommands) {
    script += "        " + std::string(subcommand) +
              ") unit=" + ChoiceName(InitialUnit(subcommand)) + " ;;\n";
  }
  script +=
      "        *) return ;;\n"
      "    esac\n"
      "    for ((i = 1; i + 1 < n; i++)); do\n"
      "        [[ ${words[i]} == --unit ]] && unit=${words[i+1]}\n"
      "    done\n"
      "    case $prev in\n";
  std::string freeText;
  for (const OptionSpec& spec : OptionTable()) {
    switch (spec.value) {
      case ValueKind::None:
        break;
      case ValueKind::Text:
        freeText += (freeText.empty() ? "" : "|") + Names(spec);
        break;
      case ValueKind::File:
        script += "        " + Names(spec) + ") _vortalis_report_files; return ;;\n";
        break;
      case ValueKind::FormatAndFile:
      case ValueKind::Choice:
        if (spec.id == OptionId::Increment) {
          script += "        " + Names(spec) + ")\n            case $unit in\n";
          for (const geometry::LengthUnit unit : kUnits) {
            script += "                " + ChoiceName(unit) + ") _vortalis_report_words " +
                      Words(IncrementChoices(unit)) + " ;;\n";
          }
          script += "            esac\n            return ;;\n";
        } else {
          script += "        " + Names(spec) + ") _vortalis_report_words " + Words(spec.choices) +
                    "; return ;;\n";
        }
        break;
    }
  }
  // Free text: nothing sensible to offer.
  script += "        " + freeText + ") return ;;\n    esac\n";
  for (const OptionSpec& spec : OptionTable()) {
    if (spec.value == ValueKind::FormatAndFile) {
      script += "    if [[ $prev2 == " + std::string(spec.name) +
                " ]]; then\n        _vortalis_report_files\n        return\n    fi\n";
    }
  }
  script += "    case ${words[0]} in\n";
  for (const std::string_view subcommand : kSubcommands) {
    std::vector<std::string> names;
    for (const OptionSpec& spec : OptionTable()) {
      if ((spec.kinds & KindOf(subcommand)) != 0) names.emplace_back(spec.name);
    }
    script += "        " + std::string(subcommand) + ") _vortalis_report_words " + Words(names) +
              " ;;\n";
  }
  script +=
      "    esac\n"
      "}\n"
      "complete -F _vortalis_report vortalis-report\n";
  return script;
}

}  // namespace vortalis::cli
