#!/usr/bin/env bash
# Runs every verb with two builds of vextools on fresh copies of the same projects and compares what
# they leave behind: the project trees (diff -r), stdout, stderr and exit codes must be identical.
#
#   bench/compare_outputs.sh OLD_BIN NEW_BIN [PROJECT_DIR...]
#
# Without PROJECT_DIR it takes every project of ../shared/corpus (or $VEXTOOLS_CORPUS_DIR) and a
# generated project of 100,000 lines. Each project is worked on at the same path by both builds, so
# messages naming files compare as they are; the time stamps of result logs are masked. Prints one line per difference and exits 1 when any.
set -u
old=$(realpath "$1") new=$(realpath "$2")
shift 2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/vexcompare-XXXXXX)
trap 'rm -rf "$work"' EXIT

projects=("$@")
if [ ${#projects[@]} -eq 0 ]; then
    corpus=${VEXTOOLS_CORPUS_DIR:-$here/../../shared/corpus}
    [ -d "$corpus" ] || corpus=$here/../../../shared/corpus
    for p in "$corpus"/*/; do [ -d "$p" ] && projects+=("${p%/}"); done
    python3 "$here/gen_project.py" "$work/generated" 100000 >/dev/null
    projects+=("$work/generated")
fi

# Each case: the verbs run one after the other on the same copy; only the last one's output is compared
# (the ones before it prepare the copy).
cases=("number" "number --dry-run" "unnumber" "unnumber --dry-run" "number;unnumber" "number;unnumber --dry-run"
       "add-handlers" "add-handlers --dry-run" "remove-handlers" "add-handlers;remove-handlers"
       "add-handlers;remove-handlers --dry-run" "indent" "indent --dry-run" "delete-lines"
       "delete-lines --dry-run" "number;indent" "add-handlers;number;delete-lines" "backup")

export VEXTOOLS_HOME=$work/home
failures=0
run_case() {  # BIN PROJECT CASE OUT
    local bin=$1 src=$2 case=$3 out=$4 tree=$work/tree
    rm -rf "$tree" "$tree.bak" "$VEXTOOLS_HOME" && mkdir -p "$out" "$tree.bak"
    cp -r "$src" "$tree" && chmod -R u+w "$tree"
    mapfile -t vbps < <(cd "$tree" && find . -name '*.vbp' | sort)
    IFS=';' read -ra verbs <<<"$case"
    local k=0
    for verb in "${verbs[@]}"; do
        k=$((k + 1))
        read -ra words <<<"$verb"
        for vbp in "${vbps[@]}"; do
            local extra=()
            [ "${words[0]}" = backup ] && extra=(--to "$tree.bak")
            if [ $k -eq ${#verbs[@]} ]; then
                "$bin" "${words[0]}" "$tree/$vbp" --settings "$work/settings.ini" "${words[@]:1}" "${extra[@]}" \
                    >>"$out/stdout" 2>>"$out/stderr" </dev/null
                echo "$vbp: $?" >>"$out/status"
            else
                "$bin" "${words[0]}" "$tree/$vbp" --settings "$work/settings.ini" "${words[@]:1}" >/dev/null 2>&1 </dev/null
            fi
        done
    done
    mv "$tree" "$out/tree" && mv "$tree.bak" "$out/backup"
    # The result log stamps each run with the time of day, which is all two runs may differ in.
    sed -i -E 's#\[[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\]#[TIME]#g' "$out/stdout" "$out/stderr"
}

for src in "${projects[@]}"; do
    name=$(basename "$src")
    for case in "${cases[@]}"; do
        rm -rf "$work/a" "$work/b"
        run_case "$old" "$src" "$case" "$work/a"
        run_case "$new" "$src" "$case" "$work/b"
        if diff -r "$work/a" "$work/b" >"$work/diff.txt" 2>&1; then
            echo "same     $name: $case"
        else
            echo "DIFFERS  $name: $case ($(wc -l <"$work/diff.txt") diff lines)"
            head -20 "$work/diff.txt" | sed 's/^/    /'
            failures=$((failures + 1))
        fi
    done
done
echo "$failures difference(s)"
[ $failures -eq 0 ]
