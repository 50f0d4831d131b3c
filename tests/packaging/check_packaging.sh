#!/usr/bin/env bash
# Checks of the files that make Quorvane a desktop program. Exit status 77
# (a skipped test) where the checking tool is not installed.
#   check_packaging.sh desktop FILE        desktop-file-validate
#   check_packaging.sh metainfo FILE       appstreamcli validate
#   check_packaging.sh deb BUILD_DIR CPACK APP_ID
#                                          builds the .deb, checks its control file, file list and
#                                          user guide, and runs lintian on it when installed
set -euo pipefail

need() {
  command -v "$1" >/dev/null || { echo "SKIPPED: $1 is not installed (Debian package $2)"; exit 77; }
}

case "$1" in
desktop)
  need desktop-file-validate desktop-file-utils
  desktop-file-validate "$2"
  ;;
metainfo)
  need appstreamcli appstream
  appstreamcli validate --no-net "$2"
  ;;
deb)
  need dpkg-deb dpkg
  need dpkg-shlibdeps dpkg-dev
  build="$2" cpack="$3" id="$4"
  out="$(mktemp -d)"
  trap 'rm -rf "$out"' EXIT
  "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
  debs=("$out"/quorvane_*.deb)
  [ -f "${debs[0]}" ] || { echo "no quorvane_*.deb made"; cat "$out/cpack.log"; exit 1; }
  control="$(dpkg-deb -f "${debs[0]}")"
  files="$(dpkg-deb -c "${debs[0]}" | awk '{print $6}')"
  echo "$control"
  echo "$files"
  failed=0
  expect() { grep -Eq "$2" <<<"$1" || { echo "MISSING: $2"; failed=1; }; }
  expect "$control" '^Package: quorvane$'
  # From dpkg-shlibdeps: the Qt 6 libraries and libsndfile the program links.
  for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libqt6network6 libqt6sql6 libqt6charts6 libsndfile1; do
    expect "$control" "^Depends: .*\\b$library(t64)?\\b"
  done
  expect "$control" '^Depends: .*\bfonts-dejavu-core\b'
  expect "$control" '^Depends: .*\blibqt6sql6-sqlite\b'  # the history's database driver, a plugin
  expect "$control" '^Maintainer: [^<]+ <[^@>]+@[^>]+>$'
  expect "$control" '^ \.$'                                 # the long description's paragraphs
  for file in usr/bin/quorvane "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
              usr/share/icons/hicolor/scalable/apps/quorvane.svg usr/share/icons/hicolor/16x16/apps/quorvane.png \
              usr/share/icons/hicolor/256x256/apps/quorvane.png usr/share/man/man1/quorvane.1.gz \
              usr/share/doc/quorvane/README.html usr/share/doc/quorvane/copyright \
              usr/share/doc/quorvane/changelog.gz usr/lib/systemd/user/quorvane-headless@.service; do
    expect "$files" "^\\./${file//./\\.}$"
  done
  # Only the program: no simulator, tests or benchmarks.
  if grep -Eq 'quorvane-sim|_tests|_bench|quorvane-assets' <<<"$files"; then echo "UNEXPECTED files in the package"; failed=1; fi
  # The installed guide is for users: the sections for developers stay in the source.
  mkdir "$out/root" && dpkg-deb -x "${debs[0]}" "$out/root"
  guide="$(cat "$out/root/usr/share/doc/quorvane/README.html")"
  expect "$guide" 'Connecting a real scanner'
  if grep -Eq 'for developers|scripts/test' <<<"$guide"; then echo "DEVELOPER sections in README.html"; failed=1; fi
  if command -v lintian >/dev/null; then
    # Errors and warnings fail; the informational tags are listed.
    tags="$(lintian --allow-root --tag-display-limit 0 -I "${debs[0]}" 2>&1 | grep -E '^[EWI]:' || true)"
    echo "lintian: ${tags:-clean}"
    if grep -Eq '^[EW]:' <<<"$tags"; then failed=1; fi
  else
    echo "lintian is not installed (Debian package lintian): not run"
  fi
  exit $failed
  ;;
*)
  echo "unknown check: $1"; exit 2
  ;;
esac
