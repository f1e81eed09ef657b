#!/usr/bin/env bash
# Counts non-blank, non-comment lines of C++ (.cpp and .h) under each folder given
# (default: src tools tests) and prints the ratio of tests to src + tools.
# A line counts when anything but white space and comments is left on it:
# "//" comments and "/* ... */" blocks are removed first (string literals are
# taken into account, so a "//" inside quotes is code).
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 -r cat | awk '
        BEGIN { inBlock = 0; total = 0 }
        {
            line = $0; code = ""; i = 1; n = length(line); inString = ""
            while (i <= n) {
                c = substr(line, i, 1); two = substr(line, i, 2)
                if (inBlock) {
                    if (two == "*/") { inBlock = 0; i += 2 } else { i++ }
                    continue
                }
                if (inString != "") {
                    code = code c
                    if (c == "\\") { code = code substr(line, i + 1, 1); i += 2; continue }
                    if (c == inString) inString = ""
                    i++
                    continue
                }
                if (two == "//") break
                if (two == "/*") { inBlock = 1; i += 2; continue }
                if (c == "\"" || c == "\x27") inString = c
                code = code c
                i++
            }
            if (code ~ /[^ \t\r]/) total++
        }
        END { print total }'
}

if [ $# -gt 0 ]; then
    for dir in "$@"; do printf '%-24s %6d\n' "$dir" "$(count "$dir")"; done
    exit 0
fi

src=$(count src)
tools=$(count tools)
tests=$(count tests)
printf 'src    %6d\ntools  %6d\ntests  %6d\n' "$src" "$tools" "$tests"
awk -v t="$tests" -v c="$((src + tools))" 'BEGIN { printf "tests / (src + tools) = %.3f\n", t / c }'
