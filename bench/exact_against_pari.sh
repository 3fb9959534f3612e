#!/usr/bin/env bash
# The exact lists beside PARI/GP, in one run on this machine: for each row of
# ExactList in partition_bench, our time for the counts and the text of the
# whole list, and PARI/GP's for the counts alone, as a Markdown table.
#   bench/exact_against_pari.sh [BUILD_FOLDER]   (build/release when none)
# Installs Debian's pari-gp where it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
bash tools/setup pari-gp

ours=$("$build/bench/partition_bench" --benchmark_filter='^ExactList/' --benchmark_format=csv \
  2>/dev/null | awk -F, '/^"ExactList/ { gsub(/"|ExactList\/|\/real_time/, "", $1); print $1, $3 }')
# The same counts in PARI/GP: the eta quotients without a bound on k, series
# products below it.
pari=$(gp -q --default parisize=4000000000 2>/dev/null <<'GP'
r(name, f) = my(s = getabstime()); f(); print(name, " ", getabstime() - s);
for(e = 4, 5, N = 10^e; \
  foreach([[100, 4], [1000, 5], [N, e]], c, my(k = c[1]); if(c[2] != e, next); \
    my(tag = Str("_N1e", e, "_k", if(k == N, Str("1e", e), k))); \
    if(k == N, \
      r(Str("Distinct", tag), () -> Vec(eta(x^2 + O(x^(N+1))) / eta(x + O(x^(N+1))))); \
      r(Str("Repeated", tag), () -> Vec(1 / eta(x + O(x^(N+1))))), \
      r(Str("Distinct", tag), () -> Vec(prod(i = 1, k, 1 + x^i + O(x^(N+1))))); \
      r(Str("Repeated", tag), () -> Vec(1 / prod(i = 1, k, 1 - x^i + O(x^(N+1))))))));
GP
)
echo "| list | Partitionen (ms) | PARI/GP $(gp --version-short 2>/dev/null) (ms) |"
echo "|---|---:|---:|"
while read -r name ms; do
  echo "| $name | $(printf '%.1f' "$ms") | $(awk -v n="$name" '$1 == n { print $2 }' <<<"$pari") |"
done <<<"$ours"
