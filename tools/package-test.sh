#!/usr/bin/env bash
# Builds the Debian package in a build directory and inspects it: the
# control fields (dpkg-deb --info), the exact list of installed files
# (dpkg-deb --contents), the manual pages against the programs, the desktop
# entry, the AppStream metadata (appstreamcli validate) and lintian, which
# must report no error.  Ends with "package: N passed, M failed" and exits
# non-zero on any failure.
#
#   tools/package-test.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok   $1"; }
fail() { failed=$((failed + 1)); echo "FAIL $1" >&2; }
check() { # check DESCRIPTION COMMAND...
  local description="$1"
  shift
  if "$@"; then pass "$description"; else fail "$description"; fi
}

echo "package: building in $build"
cmake --build "$build" >/dev/null
rm -f "$build"/helidisk_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/helidisk_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f "${debs[0]}" ]]; then
  echo "package: cpack made no single helidisk_*.deb in $build" >&2
  echo "package: 0 passed, 1 failed"
  exit 1
fi
deb="${debs[0]}"
echo "package: $deb"

version=$(sed -n 's/^project(helidisk VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
app_id=$(sed -n 's/^set(HELIDISK_APP_ID "\(.*\)")$/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
field() { dpkg-deb --field "$deb" "$1"; }

# The control fields.
dpkg-deb --info "$deb" | sed 's/^/  /'
check "file name helidisk_${version}_${arch}.deb" \
  test "$(basename "$deb")" = "helidisk_${version}_${arch}.deb"
check "Package: helidisk" test "$(field Package)" = helidisk
check "Version: $version" test "$(field Version)" = "$version"
check "Architecture: $arch" test "$(field Architecture)" = "$arch"
check "Section: science" test "$(field Section)" = science
check "Maintainer: a name and an address" \
  grep -qE '^[^<]+ <[^@> ]+@[^> ]+>$' <<<"$(field Maintainer)"
check "Description: a synopsis and a long description" \
  test "$(field Description | wc -l)" -gt 3
# dpkg-shlibdeps reads the dependencies off the programs: Qt, C++ runtime,
# C library and the X client library, each with a version bound; cfitsio,
# which the programs load when they open a FITS file, is named by the build.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libcfitsio10; do
  pattern="(^|, )${library//+/\\+} \\(>= [^)]+\\)"
  check "Depends on $library (dpkg-shlibdeps)" grep -qE "$pattern" <<<"$depends"
done

# The files, exactly: no test or benchmark program, no static library, no
# header.
expected=$(
  cat <<EOF
./usr/bin/helidisk
./usr/bin/helidisk-render
./usr/lib/helidisk/plugins/helidisk-render-pictures.so
./usr/share/applications/$app_id.desktop
./usr/share/doc/helidisk/changelog.gz
./usr/share/doc/helidisk/copyright
./usr/share/icons/hicolor/256x256/apps/helidisk.png
./usr/share/icons/hicolor/32x32/apps/helidisk.png
./usr/share/man/man1/helidisk-render.1.gz
./usr/share/man/man1/helidisk.1.gz
./usr/share/metainfo/$app_id.metainfo.xml
EOF
)
actual=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
if [[ "$actual" == "$expected" ]]; then
  pass "contents: the eleven expected files and nothing else"
else
  fail "contents differ from the expected files:"
  diff <(echo "$expected") <(echo "$actual") >&2 || true
fi
check "contents: directories 0755, files 0644, programs 0755, all root/root" bash -c '
  dpkg-deb --contents "$1" | awk "
    \$2 != \"root/root\" { bad = 1 }
    /^d/ && \$1 != \"drwxr-xr-x\" { bad = 1 }
    /^-/ && \$6 ~ /^.\/usr\/bin\// && \$1 != \"-rwxr-xr-x\" { bad = 1 }
    /^-/ && \$6 !~ /^.\/usr\/bin\// && \$1 != \"-rw-r--r--\" { bad = 1 }
    END { exit bad }"' _ "$deb"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked"
root="$unpacked/usr"

# The programs, stripped, the window's with its version block.
check "helidisk-render --version from the package" \
  test "$("$root/bin/helidisk-render" --version)" = "helidisk-render $version"
for program in bin/helidisk bin/helidisk-render lib/helidisk/plugins/helidisk-render-pictures.so; do
  check "$program is stripped" bash -c 'file "$1" | grep -q ", stripped"' _ "$root/$program"
done
check "helidisk-render finds its picture module and draws a PNG" bash -c '
  "$1/bin/helidisk-render" --hour 30 --output "$2/disk.png" && file "$2/disk.png" | grep -q PNG
' _ "$root" "$unpacked"
check "helidisk keeps its version block" \
  bash -c 'readelf -x .helidisk_version "$1" | grep -q VS_VERSION_I' _ "$root/bin/helidisk"

# The manual pages: gzip -9 without a time stamp, sections and names right,
# and helidisk-render(1) listing every option the program's --help lists.
for page in helidisk helidisk-render; do
  file="$root/share/man/man1/$page.1.gz"
  check "$page.1.gz is gzip, max compression, no time stamp" bash -c \
    'file "$1" | grep -q "max compression" && ! file "$1" | grep -q "last modified"' _ "$file"
  check "$page(1) is section 1 of $page" \
    bash -c 'zcat "$1" | grep -qi "^\.TH \"\?$2\"\? \"\?1\"\?"' _ "$file" "$page"
  check "$page(1) formats without warnings" bash -c \
    '[[ -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)" ]]' _ "$file"
done
render_page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/share/man/man1/helidisk-render.1.gz" 2>/dev/null | col -b)
mapfile -t options < <("$root/bin/helidisk-render" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
missing=()
for option in "${options[@]}"; do
  grep -qF -- "$option" <<<"$render_page" || missing+=("$option")
done
check "helidisk-render(1) lists all ${#options[@]} options of --help${missing[*]:+ (missing: ${missing[*]})}" \
  test "${#options[@]}" -gt 0 -a "${#missing[@]}" -eq 0
check "helidisk-render(1) carries the version $version" grep -qF "helidisk-render $version" <<<"$render_page"
check "helidisk(1) points to helidisk-render(1)" \
  bash -c 'zcat "$1" | grep -q "^\.BR helidisk-render (1)"' _ "$root/share/man/man1/helidisk.1.gz"

# The desktop entry and the AppStream metadata that names it.
desktop="$root/share/applications/$app_id.desktop"
check "desktop entry starts helidisk with its icon" \
  bash -c 'grep -qx "Exec=helidisk" "$1" && grep -qx "Icon=helidisk" "$1"' _ "$desktop"
metainfo="$root/share/metainfo/$app_id.metainfo.xml"
check "metainfo: id $app_id, launchable $app_id.desktop, release $version" bash -c '
  grep -q "<id>$2</id>" "$1" && grep -q "<launchable type=\"desktop-id\">$2.desktop</launchable>" "$1" &&
  grep -q "<release version=\"$3\"" "$1"' _ "$metainfo" "$app_id" "$version"
echo "package: appstreamcli validate"
if appstreamcli validate --no-net --pedantic "$metainfo" | sed 's/^/  /'; then
  pass "appstreamcli validate --no-net accepts the metainfo"
else
  fail "appstreamcli validate --no-net rejects the metainfo"
fi

# lintian: no error (its exit status says so); warnings and notes are
# shown, and counted.
echo "package: lintian"
if lintian_output=$(lintian --fail-on error --display-info "$deb" 2>&1); then
  pass "lintian reports no error"
else
  fail "lintian reports errors (or did not run)"
fi
lintian_output=$(grep -v "^running with root privileges" <<<"$lintian_output" || true)
[[ -n "$lintian_output" ]] && sed 's/^/  /' <<<"$lintian_output"
echo "package: lintian: $(grep -c "^E: " <<<"$lintian_output" || true) errors," \
  "$(grep -c "^W: " <<<"$lintian_output" || true) warnings," \
  "$(grep -c "^I: " <<<"$lintian_output" || true) notes"

echo "package: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
