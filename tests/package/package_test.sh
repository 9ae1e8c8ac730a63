#!/usr/bin/env bash
# Makes the Debian package, unpacks it into a scratch root (dpkg -x) and
# runs every program from there: its --help and --version, and one real
# command each. Nothing installed may point back into the build tree.
#   package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd); source_dir=$2; version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/out/barywalk_"$version"_*.deb)
[[ -f "${debs[0]}" ]] || fail "no barywalk_${version}_*.deb made"
deb=${debs[0]}

# Dependencies come from the programs' shared libraries.
depends=$(dpkg-deb --field "$deb" Depends)
for library in libwxgtk3.2 libwxbase3.2 libplplot libc6 libstdc++6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[[ $(dpkg-deb --field "$deb" Version) == "$version" ]] || fail "package version is not $version"

root=$scratch/root
dpkg -x "$deb" "$root"
bin=$root/usr/bin
share=$root/usr/share

for program in barywalk barywalk-ephem barywalk-flares barywalk-render; do
  [[ -x "$bin/$program" ]] || fail "$program not installed"
  "$bin/$program" --help >"$scratch/help.txt" || fail "$program --help failed"
  grep -q "Usage" "$scratch/help.txt" || fail "$program --help prints no usage"
  [[ $("$bin/$program" --version) == *"$version"* ]] || fail "$program --version lacks $version"
  [[ -s "$share/man/man1/$program.1.gz" ]] || fail "no manual page for $program"
done
for command in import stats significance; do
  "$bin/barywalk-flares" "$command" --help >/dev/null || fail "barywalk-flares $command --help failed"
  [[ -s "$share/man/man1/barywalk-flares-$command.1.gz" ]] || fail "no manual page for $command"
done
[[ -s "$share/man/man5/barywalk-flare-file.5.gz" ]] || fail "no manual page of the flare file"
for page in "$share"/man/man*/*.gz; do
  gzip -t "$page" || fail "$page is not a whole gzip file"
  zcat "$page" | grep -q '^\.TH' || fail "$page has no .TH header"
done

# One real command each, on the installed sample flare file.
sample=$share/barywalk/flares-2010-2018.flr
[[ -s "$sample" && -s "$share/barywalk/flares-2010-2018.LICENSE" ]] || fail "sample flare file missing"
"$bin/barywalk-ephem" 2451545 >"$scratch/ephem.csv" || fail "barywalk-ephem failed"
[[ $(wc -l <"$scratch/ephem.csv") -eq 2 ]] || fail "barywalk-ephem printed no row"
"$bin/barywalk-flares" stats "$sample" --from 2011-02-01 --to 2011-03-01 -o "$scratch/stats.txt" ||
  fail "barywalk-flares stats failed"
[[ $(wc -l <"$scratch/stats.txt") -gt 10 ]] || fail "barywalk-flares stats wrote no flares"
"$bin/barywalk-render" --at 2000-01-01 --width 320 -o "$scratch/frame.png" || fail "barywalk-render failed"
[[ $(head -c 8 "$scratch/frame.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
  fail "barywalk-render wrote no PNG"

# The desktop entry, icon and software-centre metadata.
[[ -s "$share/applications/barywalk.desktop" ]] || fail "no desktop entry"
[[ -s "$share/icons/hicolor/64x64/apps/barywalk.png" ]] || fail "no icon"
metainfo=$share/metainfo/io.github.barywalk.barywalk.metainfo.xml
grep -q "release version=\"$version\"" "$metainfo" || fail "metadata lacks release $version"
appstreamcli validate --no-net "$metainfo" >"$scratch/validate.txt" 2>&1 ||
  { cat "$scratch/validate.txt" >&2; fail "metadata does not validate"; }
[[ -s "$share/doc/barywalk/copyright" ]] || fail "no copyright file"

# The citation names the same version.
grep -qx "version: $version" "$source_dir/CITATION.cff" || fail "CITATION.cff does not name $version"

# No installed file may lead back into the build tree.
if grep -rlF "$build" "$root" >"$scratch/paths.txt"; then
  cat "$scratch/paths.txt" >&2
  fail "installed files name the build tree"
fi
echo "package test: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB) installs and runs"
