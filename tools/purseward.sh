#!/usr/bin/env bash
# Set-up and entry point for a Debian 12 machine.
#   tools/purseward.sh run    install what is missing, build, start the sandbox and the program
#   tools/purseward.sh test   install what is missing, build and run every test
#   tools/purseward.sh package  build the Debian packages (build/release/*.deb)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

packages=(build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
  libssl-dev libcurl4-openssl-dev libcpp-httplib-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev tinyproxy python3 lintian clang libclang-rt-14-dev)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

jobs=2

build() {  # build <dir> <cmake options...>
  local dir="$1"; shift
  cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

run_tests() {  # run_tests <dir>
  (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 300)
}

run_benchmarks() {  # run_benchmarks <dir>: each once, briefly, so that they keep working
  local b
  for b in "$1"/bench/*_bench; do
    "$b" --benchmark_min_time=0.001 --benchmark_repetitions=1 >/dev/null
  done
}

fuzz_seconds=20
run_fuzzers() {  # run_fuzzers <dir>: every fuzz target for fuzz_seconds, two at a time
  local dir="$1" f name pids=() failed=0
  rm -rf "$dir/seeds" && "$dir/fuzz/fuzz_seeds" "$dir/seeds" "$here/tests/data/samples"
  for f in "$dir"/fuzz/fuzz_*; do
    name="${f##*/fuzz_}"
    { [ -f "$f" ] && [ -x "$f" ] && [ "$name" != seeds ]; } || continue
    mkdir -p "$dir/corpus/$name" "$dir/crashes"
    # One run over 1 MB must not take a second; no crash, no leak, no undefined behaviour.
    ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
      "$f" -max_total_time="$fuzz_seconds" -timeout=1 -rss_limit_mb=2048 -max_len=1048576 \
        -print_final_stats=1 -artifact_prefix="$dir/crashes/$name-" \
        "$dir/corpus/$name" "$dir/seeds/$name" >"$dir/$name.log" 2>&1 &
    pids+=("$!:$name")
    if [ ${#pids[@]} -ge "$jobs" ]; then
      for p in "${pids[@]}"; do
        wait "${p%%:*}" || { failed=1; echo "fuzzer ${p#*:} failed:"; tail -40 "$dir/${p#*:}.log"; }
      done
      pids=()
    fi
  done
  for p in "${pids[@]}"; do
    wait "${p%%:*}" || { failed=1; echo "fuzzer ${p#*:} failed:"; tail -40 "$dir/${p#*:}.log"; }
  done
  return "$failed"
}

case "${1:-}" in
  run)
    install_missing
    build "$here/build/release" -DCMAKE_BUILD_TYPE=Release -DPW_BENCH=OFF
    exec "$here/tools/start-program.sh" "$here/build/release"
    ;;
  test)
    install_missing
    # 1. The core alone, without any widget library: the split between core and windows holds.
    build "$here/build/core" -DCMAKE_BUILD_TYPE=Debug -DPW_GUI=OFF -DPW_WERROR=ON -DPW_BENCH=OFF
    run_tests "$here/build/core"
    # 2. Everything, warnings as errors.
    build "$here/build/ci" -DCMAKE_BUILD_TYPE=Debug -DPW_WERROR=ON
    run_tests "$here/build/ci"
    run_benchmarks "$here/build/ci"
    # The Debian packages of that build: dependencies, lintian, a start of the unpacked program.
    "$here/tools/package-check.sh" "$here/build/ci"
    # 3. Everything once more under AddressSanitizer and UndefinedBehaviorSanitizer.
    build "$here/build/asan" -DCMAKE_BUILD_TYPE=Debug -DPW_WERROR=ON -DPW_SANITIZE=ON -DPW_BENCH=OFF
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    LSAN_OPTIONS="suppressions=$here/tools/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
      run_tests "$here/build/asan"
    # 4. The fuzz targets of the answer parsers and file readers: clang, libFuzzer, the
    #    sanitizers; only these targets are built in their own folder.
    CC=clang CXX=clang++ cmake -S "$here" -B "$here/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPW_FUZZ=ON -DPW_GUI=OFF -DPW_BENCH=OFF >/dev/null
    cmake --build "$here/build/fuzz" -j"$jobs" --target pw_fuzz
    run_fuzzers "$here/build/fuzz"
    echo "All tests passed."
    ;;
  package)
    install_missing
    build "$here/build/release" -DCMAKE_BUILD_TYPE=Release -DPW_BENCH=OFF
    (cd "$here/build/release" && cpack -G DEB)
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
