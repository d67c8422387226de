#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks that the licence text is there and that every source file names its
# licence in its first lines.
# Argument: the source tree.
source_dir=$1
failures=0
grep -q "GNU GENERAL PUBLIC LICENSE" "$source_dir/LICENSE" && grep -q "Version 2, June 1991" "$source_dir/LICENSE" ||
    { echo "FAIL: LICENSE does not hold the GPL version 2"; failures=1; }
while IFS= read -r -d '' file; do
    if ! head -n 3 "$file" | grep -q "SPDX-License-Identifier: GPL-2.0-or-later"; then
        echo "FAIL: $file names no licence on its first lines"
        failures=1
    fi
done < <(find "$source_dir" \( -name 'build*' -o -name '.git' -o -path '*/tests/fuzz/corpus' \) -prune -o -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.cmake' -o -name 'CMakeLists.txt' -o -name '*.sh' -o -name '*.py' \
    -o -name '*.bash' -o -name '*.ui' -o -name '*.in' \) -print0)
[ "$failures" -eq 0 ]
