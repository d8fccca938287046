#!/usr/bin/env python3
"""Writes qaveq's manual page and its bash completion from the program's own
--help, so that both name every command the program has.

    from-help.py PROGRAM VERSION MANPAGE COMPLETION
"""
import re
import subprocess
import sys

GLOBAL_WITH_VALUE = {"--company", "--user"}


def run_help(program, *arguments):
    done = subprocess.run([program, *arguments, "--help"], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{program} {' '.join(arguments)} --help failed: {done.stderr}")
    return done.stdout


def section(text, heading):
    """The lines under a heading such as "Commands:", up to the next blank line."""
    lines = text.splitlines()
    start = lines.index(heading) + 1
    block = []
    for line in lines[start:]:
        if not line.strip():
            break
        block.append(line)
    return block


def global_options(main_help):
    """(option, argument, text) of each global option; continued lines joined."""
    options = []
    for line in section(main_help, "Global options:"):
        match = re.match(r"  (--[a-z-]+)(?: ([A-Z]+))?\s{2,}(.*)", line)
        if match:
            options.append([match.group(1), match.group(2) or "", match.group(3)])
        else:
            options[-1][2] += " " + line.strip()
    return options


def commands(main_help):
    """(name, summary) of each command, in the order --help lists them."""
    found = []
    for line in section(main_help, "Commands:"):
        match = re.match(r"  (\S+)\s+(.*)", line)
        found.append((match.group(1), match.group(2)))
    return found


def command_words(name, help_text):
    """The sub-commands a command's usage lines name, and its options."""
    words = []
    for line in help_text.splitlines():
        tokens = line.split()
        if "qaveq" not in tokens or name not in tokens:
            continue
        after = tokens[tokens.index(name) + 1:]
        if after and re.fullmatch(r"[a-z][a-z-]*(\|[a-z][a-z-]*)*", after[0]):
            words += [w for w in after[0].split("|") if w not in words]
    options = []
    for option in re.findall(r"--[a-z][a-z0-9-]*", help_text):
        if option not in GLOBAL_WITH_VALUE and option not in options:
            options.append(option)
    if "--help" not in options:
        options.append("--help")
    return words, options


def roff(text):
    """Text set literally: backslashes, leading dots and quotes, and minus signs."""
    out = []
    for line in text.splitlines():
        line = line.replace("\\", "\\e").replace("-", "\\-")
        if line.startswith((".", "'")):
            line = "\\&" + line
        out.append(line)
    return "\n".join(out)


def manual(version, main_help, options, listed, helps):
    name_line = main_help.splitlines()[0].split(":", 1)[1].strip().rstrip(".")
    page = [
        f'.TH QAVEQ 1 "" "qaveq {version}" "User Commands"',
        ".SH NAME",
        f"qaveq \\- {roff(name_line)}",
        ".SH SYNOPSIS",
        ".B qaveq",
        "[\\fB\\-\\-company\\fR \\fIDIR\\fR] [\\fB\\-\\-user\\fR \\fIID\\fR]",
        "[\\fIcommand\\fR [\\fIarguments\\fR]]",
        ".SH DESCRIPTION",
        "QAVEQ keeps a construction contractor's machines and vehicles with their cost",
        "categories and service schedules, computes their monthly depreciation, takes",
        "usage logs charged to jobs and prints its reports to the screen, a printer,",
        "PDF files and e\\-mail.",
        ".PP",
        "Without a command, QAVEQ opens its windows on the company. With one, it runs",
        "that command without windows: results go to standard output, errors to",
        "standard error with a non\\-zero exit status.",
        ".SH OPTIONS",
    ]
    for option, argument, text in options:
        page += [".TP", f"\\fB{roff(option)}\\fR" + (f" \\fI{argument}\\fR" if argument else ""),
                 roff(text)]
    page += [".SH COMMANDS"]
    for name, summary in listed:
        page += [f".SS {roff(name)}", roff(summary), ".PP", ".nf", roff(helps[name].rstrip("\n")),
                 ".fi"]
    page += [
        ".SH ENVIRONMENT",
        ".TP",
        ".B QAVEQ_COMPANY",
        "The company folder when \\fB\\-\\-company\\fR is not given.",
        ".SH FILES",
        ".TP",
        ".I ~/.local/share/qaveq/company",
        "The company used when no other is named; created with demonstration data on",
        "the first start of the windows.",
        ".TP",
        ".I ~/.config/qaveq/",
        "The user's settings, and each user's mail and PDF settings per company.",
        ".TP",
        ".I ~/.local/state/qaveq/qaveq.log",
        "The debug log.",
        ".SH EXIT STATUS",
        "0 when everything asked was done and written, 1 when it failed, 2 for a",
        "mistake on the command line.",
        "",
    ]
    return "\n".join(page)


def completion(options, listed, words):
    global_words = " ".join(option for option, _, _ in options)
    command_names = " ".join(name for name, _ in listed)
    cases = [f'        {name}) candidates="{" ".join(words[name][0] + words[name][1])}" ;;'
             for name, _ in listed]
    return f"""# bash completion of qaveq: its commands, their sub-commands and options.
# Written from qaveq --help when QAVEQ is built.

_qaveq()
{{
    local cur prev words cword
    _init_completion || return
    case $prev in
        --company) _filedir -d; return ;;
        --user) return ;;
    esac
    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${{words[i]}} in
            --company|--user) ((i++)) ;;
            -*) ;;
            *) command=${{words[i]}}; break ;;
        esac
    done
    local candidates=""
    case $command in
        "") candidates="{global_words} {command_names}" ;;
{chr(10).join(cases)}
    esac
    COMPREPLY=($(compgen -W "$candidates" -- "$cur"))
    if [[ ${{#COMPREPLY[@]}} -eq 0 && $cur != -* ]]; then
        _filedir
    fi
}} &&
    complete -F _qaveq qaveq
"""


def main():
    program, version, manpage, completion_file = sys.argv[1:5]
    main_help = run_help(program)
    options = global_options(main_help)
    listed = commands(main_help)
    helps = {name: run_help(program, name) for name, _ in listed}
    words = {name: command_words(name, helps[name]) for name, _ in listed}
    with open(manpage, "w", encoding="utf-8") as out:
        out.write(manual(version, main_help, options, listed, helps))
    with open(completion_file, "w", encoding="utf-8") as out:
        out.write(completion(options, listed, words))


if __name__ == "__main__":
    main()
