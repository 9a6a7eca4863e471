#!/usr/bin/env bash
# Golden-page runner.
#
#   run_golden.sh BINARY CASES_DIR [EMULATOR...]
#
# Every folder CASES_DIR/NAME/ is one case. Its report.csv is copied into a
# fresh temporary directory and converted there with
#     [EMULATOR...] BINARY report.csv $(cat args)
# and then compared byte for byte:
#   - standard output with expected_stdout, or with the single progress line
#     'Converting: "report.csv"' CR LF when the case has no expected_stdout;
#   - the exit code with the number in exitcode, or with 0;
#   - the page (report.htm, report.hta when args holds /HTA, or the name in
#     output_name) with expected.htm; with a file no_output no page may exist;
#   - report.csv with the case's own copy (the converter must not touch it).
# Nothing else may be left in the directory (no stray or temporary files).
set -euo pipefail

if [[ $# -lt 2 ]]; then
    echo "usage: $0 BINARY CASES_DIR [EMULATOR...]" >&2
    exit 2
fi

binary=$1
cases_dir=$2
shift 2
emulator=("$@")

if [[ $binary == */* && ! -e $binary ]]; then
    echo "no such program: $binary" >&2
    exit 2
fi
# A relative binary path must survive the change into the work directory.
if [[ $binary != /* && -e $binary ]]; then
    binary=$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")
fi
if [[ ! -d $cases_dir ]]; then
    echo "no such cases directory: $cases_dir" >&2
    exit 2
fi

work_root=$(mktemp -d "${TMPDIR:-/tmp}/golden.XXXXXX")
trap 'rm -rf "$work_root"' EXIT

passed=0
failed=0
failed_names=()

# Shows where two files differ: the first differing bytes, and the first
# differing lines with line ends made visible.
show_diff() {
    local want=$1 got=$2
    echo "    first differing bytes (offset, expected octal, actual octal):"
    cmp -l "$want" "$got" 2>&1 | head -n 8 | sed 's/^/      /' || true
    echo "    diff of cat -A (< expected, > actual):"
    diff <(cat -A "$want") <(cat -A "$got") | head -n 20 | sed 's/^/      /' || true
}

while IFS= read -r -d '' case_path; do
    name=$(basename "$case_path")
    problems=()

    if [[ ! -f $case_path/report.csv ]]; then
        echo "FAIL $name: the case has no report.csv"
        failed=$((failed + 1))
        failed_names+=("$name")
        continue
    fi

    args=()
    if [[ -f $case_path/args ]]; then
        # Word-split on purpose: the file holds the extra arguments.
        read -r -a args < "$case_path/args" || true
    fi

    output=report.htm
    for a in "${args[@]}"; do
        if [[ ${a^^} == /HTA ]]; then
            output=report.hta
        fi
    done
    if [[ -f $case_path/output_name ]]; then
        output=$(tr -d '\r\n' < "$case_path/output_name")
    fi

    work=$work_root/$name
    mkdir "$work"
    cp "$case_path/report.csv" "$work/report.csv"

    set +e
    (cd "$work" && "${emulator[@]}" "$binary" report.csv "${args[@]}" \
        > "$work_root/$name.stdout" 2> "$work_root/$name.stderr" < /dev/null)
    code=$?
    set -e

    # Standard output.
    if [[ -f $case_path/expected_stdout ]]; then
        want_stdout=$case_path/expected_stdout
    else
        want_stdout=$work_root/$name.want_stdout
        printf 'Converting: "report.csv"\r\n' > "$want_stdout"
    fi
    if ! cmp -s "$want_stdout" "$work_root/$name.stdout"; then
        problems+=("standard output differs")
        diff_stdout=1
    else
        diff_stdout=0
    fi

    # Exit code.
    want_code=0
    if [[ -f $case_path/exitcode ]]; then
        want_code=$(tr -d ' \r\n' < "$case_path/exitcode")
    fi
    if [[ $code != "$want_code" ]]; then
        problems+=("exit code $code, expected $want_code")
    fi

    # The page.
    diff_page=0
    if [[ -f $case_path/no_output ]]; then
        candidates=(report.htm report.hta)
        if [[ $output != report.htm && $output != report.hta ]]; then
            candidates+=("$output")
        fi
        for f in "${candidates[@]}"; do
            if [[ -e $work/$f ]]; then
                problems+=("$f exists but no output was expected")
            fi
        done
    elif [[ ! -f $work/$output ]]; then
        problems+=("$output was not written")
    elif [[ ! -f $case_path/expected.htm ]]; then
        problems+=("the case has no expected.htm")
    elif ! cmp -s "$case_path/expected.htm" "$work/$output"; then
        problems+=("$output differs from expected.htm")
        diff_page=1
    fi

    # The input stays as it was.
    if [[ ! -f $work/report.csv ]]; then
        problems+=("report.csv has gone")
    elif ! cmp -s "$case_path/report.csv" "$work/report.csv"; then
        problems+=("report.csv was changed")
    fi

    # Nothing else is left behind.
    while IFS= read -r -d '' extra; do
        extra=${extra#"$work"/}
        if [[ $extra != report.csv && ( -f $case_path/no_output || $extra != "$output" ) ]]; then
            problems+=("unexpected file left behind: $extra")
        fi
    done < <(find "$work" -mindepth 1 -maxdepth 1 -print0)

    if [[ ${#problems[@]} -eq 0 ]]; then
        echo "ok   $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name"
        for p in "${problems[@]}"; do
            echo "    $p"
        done
        if [[ $diff_stdout -eq 1 ]]; then
            show_diff "$want_stdout" "$work_root/$name.stdout"
        fi
        if [[ $diff_page -eq 1 ]]; then
            show_diff "$case_path/expected.htm" "$work/$output"
        fi
        if [[ -s $work_root/$name.stderr ]]; then
            echo "    standard error:"
            head -n 5 "$work_root/$name.stderr" | sed 's/^/      /'
        fi
        failed=$((failed + 1))
        failed_names+=("$name")
    fi
done < <(find "$cases_dir" -mindepth 1 -maxdepth 1 -type d -print0 | LC_ALL=C sort -z)

echo "$passed passed, $failed failed"
if [[ $failed -ne 0 ]]; then
    echo "failed: ${failed_names[*]}"
    exit 1
fi
if [[ $passed -eq 0 ]]; then
    echo "no cases found in $cases_dir" >&2
    exit 1
fi
exit 0
