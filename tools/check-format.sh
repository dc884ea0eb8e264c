#!/usr/bin/env bash
# Checks that the C++ files are formatted as the repository's .clang-format says: every file but
# those listed in tools/format-pending.txt (written before the tree was kept formatted), and every
# file changed since then whether listed or not. A table whose hand layout carries meaning can be
# kept between "// clang-format off" and "// clang-format on".
set -euo pipefail
cd "$(dirname "$0")/.."

# The last commit before the tree was kept formatted.
readonly since=c894df8bf1fd954bcce8ec5371f4fa582a504698
readonly pending=tools/format-pending.txt

command -v clang-format >/dev/null || { echo "check-format: clang-format is missing (tools/setup.sh installs it)" >&2; exit 1; }

mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | grep -vxF -f <(grep -v '^#' "$pending"))
if git cat-file -e "$since^{commit}" 2>/dev/null; then
    # Changed since, committed or not, and new files not yet added.
    mapfile -t -O "${#files[@]}" files < <(
        git diff --name-only --diff-filter=d "$since" -- '*.cpp' '*.h'
        git ls-files --others --exclude-standard -- '*.cpp' '*.h')
else
    echo "check-format: commit $since is not in this clone's history; checking the files not listed as pending" >&2
fi
mapfile -t files < <(printf '%s\n' "${files[@]}" | sort -u)

if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "check-format: format the files above with clang-format -i" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
