#!/usr/bin/env bash
# scripts/install.sh --user into a fresh home whose path has a space: twice, to see it is
# idempotent, then --uninstall, which must leave the home as it was, a file of the user's
# beside ours included. Then into a home whose path holds a quote and a line feed, removed by
# `yakdrom uninstall`, which reads the manifest the script escaped.
#   InstallScriptTest.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
home="$(mktemp -d)/a home"
trap 'rm -rf -- "$(dirname "$home")"' EXIT
mkdir -p "$home/.local/share/applications"
touch "$home/.local/share/applications/theirs.desktop"
listing() { (cd "$home" && find . | sort); }
before=$(listing)

install_script() {
  env -i PATH="$PATH" HOME="$home" "$source_dir/scripts/install.sh" --user \
    --build-dir "$build_dir" "$@" >/dev/null
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

install_script
first=$(<"$home/.local/lib/yakdrom/install-manifest.txt")
install_script
[ "$first" = "$(<"$home/.local/lib/yakdrom/install-manifest.txt")" ] ||
  fail "a second install lists other paths"

bundle="$home/.local/lib/yakdrom"
for path in "$bundle/bin/yakdrom-ibus" "$bundle/Resources/lex.dat" \
  "$home/.local/share/ibus/component/yakdrom.xml" \
  "$home/.local/share/applications/yakdrom-settings.desktop" \
  "$home/.local/share/icons/hicolor/scalable/apps/yakdrom.svg" \
  "$home/.config/environment.d/60-yakdrom-ibus.conf"; do
  [ -e "$path" ] || fail "missing $path"
  grep -qxF "$path" "$bundle/install-manifest.txt" || fail "$path is not in the manifest"
done
grep -qF "<exec>'$bundle/bin/yakdrom-ibus' --ibus</exec>" \
  "$home/.local/share/ibus/component/yakdrom.xml" || fail "the component runs another program"
grep -qxF "Exec=\"$bundle/bin/yakdrom-settings\"" \
  "$home/.local/share/applications/yakdrom-settings.desktop" ||
  fail "the desktop entry runs another program"
if [ -f "$build_dir/lib/fcitx5/libyakdrom-fcitx5.so" ]; then
  addon="$home/.local/share/fcitx5/addon/yakdrom.conf"
  grep -qxF "$addon" "$bundle/install-manifest.txt" || fail "the Fcitx addon file is not listed"
  grep -qxF "Library=$bundle/lib/fcitx5/libyakdrom-fcitx5" "$addon" ||
    fail "the Fcitx addon file names another library"
  [ -f "$bundle/lib/fcitx5/libyakdrom-fcitx5.so" ] || fail "the Fcitx addon is not in the bundle"
fi
grep -qxF "$home/.local/share/applications/" "$bundle/install-manifest.txt" &&
  fail "the manifest claims a folder that was there before"

install_script --uninstall
after=$(listing)
[ "$before" = "$after" ] || fail "uninstall left $(diff <(echo "$before") <(echo "$after"))"
echo "install.sh --user and --uninstall: OK"

home="$(dirname "$home")/it's a home
with lines"
mkdir -p "$home"
before=$(listing)
install_script
bundle="$home/.local/lib/yakdrom"
escaped=${bundle//\\/\\\\}
escaped=${escaped//$'\n'/\\n}
grep -qxF "$escaped/bin/yakdrom-ibus" "$bundle/install-manifest.txt" ||
  fail "the manifest does not list $escaped/bin/yakdrom-ibus"
env -i PATH="$PATH" HOME="$home" "$build_dir/bin/yakdrom" uninstall >/dev/null
after=$(listing)
[ "$before" = "$after" ] || fail "yakdrom uninstall left $(diff <(echo "$before") <(echo "$after"))"
echo "install.sh --user into a home with a line feed, yakdrom uninstall: OK"
