# Sourced by the tests that put two processes on one database: a private
# Firebird root whose engine runs in its shared mode (SuperClassic), so that
# the embedded engine of each process can attach the same file. Needs WORK
# (a private folder) and a fail function; exports FIREBIRD, FIREBIRD_LOCK
# and FIREBIRD_TMP.
engine="$(find /usr/lib -name libEngine12.so -path '*firebird*' 2>/dev/null | head -1)"
[[ -n "$engine" ]] || fail "the embedded Firebird engine (firebird3.0-server-core) is not installed"
home="$(dirname "$(dirname "$engine")")"
mkdir -p "$WORK/firebird" "$WORK/lock"
for part in firebird.msg plugins lib UDF plugins.conf; do
  if [[ -e "$home/$part" ]]; then ln -s "$home/$part" "$WORK/firebird/$part"; fi
done
# The character sets' module is refused when it is reached through a link: a copy.
cp -rL "$home/intl" "$WORK/firebird/intl"
echo "ServerMode = SuperClassic" >"$WORK/firebird/firebird.conf"
export FIREBIRD="$WORK/firebird" FIREBIRD_LOCK="$WORK/lock" FIREBIRD_TMP="$WORK/lock"
