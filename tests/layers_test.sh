#!/usr/bin/env bash
# Each library of the core sees the headers of the libraries below it and of
# no library above it: a lower one that includes a higher one's header does
# not build. Arguments: the compiler, then for each library, lowest first,
# its name, a header of its own, and its include folders joined by ";".
set -u
compiler=$1
shift
status=0
names=() headers=() folders=()
while [ $# -gt 0 ]; do
    names+=("$1") headers+=("$2") folders+=("$3")
    shift 3
done
compiles() { # header folders
    local flags=() folder
    IFS=';' read -ra list <<<"$2"
    for folder in "${list[@]}"; do flags+=("-I$folder"); done
    echo "#include \"$1\"" | "$compiler" -std=c++20 -fsyntax-only -x c++ "${flags[@]}" - 2>/dev/null
}
for ((i = 0; i < ${#names[@]}; i++)); do
    for ((j = 0; j < ${#names[@]}; j++)); do
        if compiles "${headers[j]}" "${folders[i]}"; then seen=yes; else seen=no; fi
        expected=no
        [ "$j" -le "$i" ] && expected=yes
        if [ "$seen" != "$expected" ]; then
            echo "FAIL: ${names[i]} sees ${headers[j]}: $seen, should be $expected"
            status=1
        fi
    done
done
[ $status -eq 0 ] && echo "${names[*]}: each sees the headers below it and none above"
exit $status
