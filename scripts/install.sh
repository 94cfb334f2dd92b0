#!/usr/bin/env bash
# Installs Yakdrom as an IBus input method, and as a Fcitx 5 addon when the build has one, for
# this user (default) or system-wide, or removes what an earlier run installed.
#
#   scripts/install.sh [--user|--system] [--uninstall] [--build-dir DIR]
#
# Without --build-dir it builds build/ first (scripts/build.sh); with it, it installs that
# build as it is. Per user: the bundle in ~/.local/lib/yakdrom, the IBus component, Fcitx
# addon file, desktop entry and icon under ~/.local/share, and
# ~/.config/environment.d/60-yakdrom-ibus.conf, as IBus reads components outside
# /usr/share/ibus/component only from IBUS_COMPONENT_PATH. System-wide: the bundle in
# /usr/local/lib/yakdrom, the component in /usr/share/ibus/component, the addon file, desktop
# entry and icon under /usr/local/share. The addon file names the library in the bundle by its
# path, which Fcitx loads from there.
#
# <bundle>/install-manifest.txt lists every path the install made, absolute, one per line:
# files as they are, folders the install created with a trailing "/". As a path may hold any
# byte but NUL, each line is escaped: "\" is written "\\" and a line feed "\n", nothing else;
# printf '%b' reads a line back. --uninstall removes those files, then those folders that are
# empty, and nothing else; so does `yakdrom uninstall`.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=user
action=install
build_dir=
while [ $# -gt 0 ]; do
  case $1 in
    --user | --system) mode=${1#--} ;;
    --uninstall) action=uninstall ;;
    --build-dir)
      build_dir=${2:?--build-dir needs a folder}
      shift
      ;;
    -h | --help)
      sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$0"
      exit 0
      ;;
    *)
      echo "install.sh: unknown argument $1 (see --help)" >&2
      exit 2
      ;;
  esac
  shift
done

component_name=yakdrom.xml
if [ "$mode" = user ]; then
  data_home="$HOME/.local/share"
  bundle="$HOME/.local/lib/yakdrom"
  component_dir="$data_home/ibus/component"
  share="$data_home"
  environment_file="$HOME/.config/environment.d/60-yakdrom-ibus.conf"
else
  bundle=/usr/local/lib/yakdrom
  component_dir=/usr/share/ibus/component
  share=/usr/local/share
  environment_file=
fi
manifest="$bundle/install-manifest.txt"
# Lines of the manifest: the paths installed, and the folders created (ending in "/").
installed=()
created=()

# Creates DIR and the missing folders above it, remembering each one created.
make_dirs() {
  local dir=$1 missing=()
  while [ ! -d "$dir" ]; do
    missing=("$dir" "${missing[@]}")
    dir=$(dirname "$dir")
  done
  for dir in "${missing[@]}"; do
    mkdir -- "$dir"
    created+=("$dir/")
  done
}

# Copies SOURCE to TARGET (a file path), creating its folder.
place() {
  make_dirs "$(dirname "$2")"
  cp -- "$1" "$2"
  installed+=("$2")
}

# Prints PATH as one manifest line.
escaped_line() {
  local line=${1//\\/\\\\}
  printf '%s\n' "${line//$'\n'/\\n}"
}

# Reads the manifest FILE into the array `entries`, each line unescaped.
read_entries() {
  local line entry
  entries=()
  while IFS= read -r line; do
    printf -v entry '%b' "$line"
    entries+=("$entry")
  done <"$1"
}

# Removes the files listed in the manifest, then the folders it lists that are left empty,
# deepest first: a folder's path is longer than its parent's.
remove_listed() {
  [ -f "$manifest" ] || return 0
  local entries entry dirs=() i j
  read_entries "$manifest"
  for entry in "${entries[@]}"; do
    case $entry in
      */) dirs+=("${entry%/}") ;;
      /*) rm -f -- "$entry" ;;
    esac
  done
  rm -f -- "$manifest"
  for ((i = 0; i < ${#dirs[@]}; i++)); do
    for ((j = i + 1; j < ${#dirs[@]}; j++)); do
      if [ ${#dirs[j]} -gt ${#dirs[i]} ]; then
        entry=${dirs[i]} dirs[i]=${dirs[j]} dirs[j]=$entry
      fi
    done
  done
  for entry in "${dirs[@]}"; do rmdir -- "$entry" 2>/dev/null || true; done
}

# Keeps the folders an earlier install created: they are still this install's to remove.
remember_created() {
  [ -f "$manifest" ] || return 0
  local entries entry
  read_entries "$manifest"
  for entry in "${entries[@]}"; do
    case $entry in */) created+=("$entry") ;; esac
  done
}

# Succeeds when an IBus daemon of this user serves this login: one runs, and the address
# file this login's clients read names it.
login_daemon_running() {
  pgrep -u "$(id -u)" -x ibus-daemon >/dev/null 2>&1 && command -v ibus >/dev/null || return 1
  local address
  address=$(ibus address 2>/dev/null) && [ -n "$address" ] && [ "$address" != "(null)" ]
}

component_path() {
  echo "/usr/share/ibus/component:$component_dir"
}

# Rewrites this user's IBus registry cache when there is one: a cache made before the
# component folder was on IBUS_COMPONENT_PATH would hide the engine at the next login.
refresh_user_cache() {
  local cache="${XDG_CACHE_HOME:-$HOME/.cache}/ibus/bus/registry"
  [ -f "$cache" ] && command -v ibus >/dev/null || return 0
  IBUS_COMPONENT_PATH="$1" ibus write-cache >/dev/null 2>&1 ||
    echo "Could not refresh the IBus cache $cache; 'ibus write-cache' does it later."
}

# Replaces this login's IBus daemon, if one runs, by one that reads the component folders
# given (the one started at login has them only from the next login on).
restart_login_daemon() {
  login_daemon_running || return 0
  IBUS_COMPONENT_PATH="$1" ibus-daemon -drx >/dev/null 2>&1 ||
    echo "Could not restart IBus; log out and in again."
}

refresh_system_cache() {
  if ! command -v ibus >/dev/null || ! ibus write-cache --system >/dev/null 2>&1; then
    echo "Could not refresh the system's IBus cache: run 'ibus write-cache --system' as root."
  fi
}

# Adds the paths of CMake's install manifest FILE to `installed`. Its lines end in bare line
# feeds, but each begins with the bundle, whose path may hold line feeds of its own.
read_cmake_manifest() {
  local rest file separator=$'\n'"$bundle/"
  rest=$'\n'$(<"$1")
  while [ -n "$rest" ]; do
    rest=${rest#"$separator"}
    file=${rest%%"$separator"*}
    installed+=("$bundle/$file")
    rest=${rest:${#file}}
  done
}

install_bundle() {
  local staged="$bundle/share" before after
  make_dirs "$bundle"
  # Folders inside the bundle by their relative names, which hold no line feed even where
  # the bundle's path does.
  before=$(find "$bundle" -mindepth 1 -type d -printf '%P\n' | sort)
  cmake --install "$build_dir" --prefix "$bundle" >/dev/null
  after=$(find "$bundle" -mindepth 1 -type d -printf '%P\n' | sort)
  while IFS= read -r dir; do
    [ -n "$dir" ] && created+=("$bundle/$dir/")
  done < <(comm -13 <(echo "$before") <(echo "$after"))
  read_cmake_manifest "$build_dir/install_manifest.txt"
  # Our manifest supersedes CMake's, which would stay behind root's in the build tree.
  rm -f -- "$build_dir/install_manifest.txt"
  place "$staged/ibus/component/$component_name" "$component_dir/$component_name"
  place "$staged/applications/yakdrom-settings.desktop" \
    "$share/applications/yakdrom-settings.desktop"
  place "$staged/icons/hicolor/scalable/apps/yakdrom.svg" \
    "$share/icons/hicolor/scalable/apps/yakdrom.svg"
  if [ -f "$staged/fcitx5/addon/yakdrom.conf" ]; then
    place "$staged/fcitx5/addon/yakdrom.conf" "$share/fcitx5/addon/yakdrom.conf"
  fi
}

write_environment_file() {
  make_dirs "$(dirname "$environment_file")"
  printf '%s\n' "# Written by Yakdrom's scripts/install.sh: IBus reads components outside" \
    "# /usr/share/ibus/component only from this path." \
    "IBUS_COMPONENT_PATH=/usr/share/ibus/component:\${HOME}/.local/share/ibus/component" \
    >"$environment_file"
  installed+=("$environment_file")
}

write_manifest() {
  local path entries entry
  installed+=("$manifest")
  for path in "${installed[@]}" "${created[@]}"; do escaped_line "$path"; done |
    awk '!seen[$0]++' >"$manifest.new"
  # Files an earlier install put in place that this one no longer has go now.
  if [ -f "$manifest" ]; then
    read_entries <(grep -vxF -f "$manifest.new" -- "$manifest" || true)
    for entry in "${entries[@]}"; do
      case $entry in */) ;; *) rm -f -- "$entry" ;; esac
    done
  fi
  mv -- "$manifest.new" "$manifest"
}

run_install() {
  if [ -z "$build_dir" ]; then
    build_dir=build
    # Under sudo the build stays the user's own.
    if [ -n "${SUDO_USER:-}" ]; then sudo -u "$SUDO_USER" -- scripts/build.sh; else scripts/build.sh; fi
  fi
  if [ ! -x "$build_dir/bin/yakdrom-ibus" ]; then
    echo "install.sh: no $build_dir/bin/yakdrom-ibus; build with -DYAKDROM_WITH_IBUS=ON" >&2
    exit 1
  fi
  remember_created
  install_bundle
  if [ "$mode" = user ]; then
    write_environment_file
    write_manifest
    refresh_user_cache "$(component_path)"
    restart_login_daemon "$(component_path)"
    echo "Installed for $(id -un) in $bundle."
    echo "Log out and in again once, so IBus finds $component_dir (environment.d)."
  else
    write_manifest
    refresh_system_cache
    echo "Installed in $bundle."
  fi
  echo "Then add \"Tibetan (Yakdrom)\" in ibus-setup, Input Method tab; Super+Space switches."
  if [ -f "$share/fcitx5/addon/yakdrom.conf" ]; then
    echo "With Fcitx 5: restart it (fcitx5 -r), then add \"Tibetan (Yakdrom)\" in fcitx5-configtool."
  fi
}

run_uninstall() {
  if [ ! -f "$manifest" ]; then
    echo "Nothing to remove: $manifest does not exist."
    return 0
  fi
  remove_listed
  if [ "$mode" = user ]; then
    refresh_user_cache /usr/share/ibus/component
    restart_login_daemon /usr/share/ibus/component
  else
    refresh_system_cache
  fi
  echo "Removed Yakdrom from $bundle."
}

if [ "$mode" = system ] && [ "$(id -u)" -ne 0 ]; then
  [ "$action" = uninstall ] || [ -n "$build_dir" ] || { scripts/build.sh && build_dir=build; }
  args=("--$mode")
  [ "$action" = install ] || args+=(--uninstall)
  [ -z "$build_dir" ] || args+=(--build-dir "$build_dir")
  exec sudo -- "$0" "${args[@]}"
fi
"run_$action"
