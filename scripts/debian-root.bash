# Throwaway Debian 12 roots for scripts/package-check and scripts/fresh-check
# (sourced by both, run as root): made with debootstrap, removed with care.
#
# A root is minbase bookworm in a new folder under ${TMPDIR:-/var/tmp}, with
# the apt sources a fresh Debian 12 installation has (bookworm, its updates
# and its security updates). Package downloads are kept between runs under
# ${KRAGMOOR_CACHE:-/var/cache/kragmoor}: debootstrap's packages in
# debootstrap/, and the packages apt-get fetched inside the root in apt-NAME/,
# one folder per kind of root, each holding the set its last run used. The
# cache is locked while it is read or written, so runs may overlap.
#
# The package archive is the one this machine's own apt uses (its
# sources.list and sources.list.d, one-line and deb822 formats), or
# $KRAGMOOR_DEBIAN_MIRROR, with security updates from the machine's
# "-security" source, or $KRAGMOOR_DEBIAN_SECURITY_MIRROR, or else the
# mirror's address with "-security" added.

kragmoor_cache=${KRAGMOOR_CACHE:-/var/cache/kragmoor}
debian_mirror=""
debian_security_mirror=""
root_dir=""

# apt_sources [ETC_APT]: one line "URI SUITE" for each suite of each enabled
# "deb" source of the apt configuration in ETC_APT (default /etc/apt).
apt_sources() {
  local etc=${1:-/etc/apt} file
  for file in "$etc/sources.list" "$etc"/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$file" | awk '$1 == "deb" && NF >= 3 { print $2, $3 }'
  done
  for file in "$etc"/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    grep -v '^[[:space:]]*#' "$file" | awk '
      BEGIN { RS = ""; FS = "\n" }
      {
        types = ""; uris = ""; suites = ""; enabled = "yes"
        for (i = 1; i <= NF; i++) {
          key = tolower($i); sub(/:.*/, "", key)
          value = $i; sub(/^[^:]*:[[:space:]]*/, "", value)
          if (key == "types") types = value
          else if (key == "uris") uris = value
          else if (key == "suites") suites = value
          else if (key == "enabled") enabled = tolower(value)
        }
        if (enabled == "no" || (" " types " ") !~ /[[:space:]]deb[[:space:]]/) next
        nu = split(uris, u, /[[:space:]]+/); ns = split(suites, s, /[[:space:]]+/)
        for (a = 1; a <= nu; a++) for (b = 1; b <= ns; b++)
          if (u[a] != "" && s[b] != "") print u[a], s[b]
      }'
  done
}

# debian_mirrors [ETC_APT]: sets debian_mirror and debian_security_mirror
# (see the top of this file); fails with a message when there is no mirror.
debian_mirrors() {
  local sources
  sources=$(apt_sources "$@")
  debian_mirror=${KRAGMOOR_DEBIAN_MIRROR:-$(awk '$2 !~ /-security$/ { print $1; exit }' <<<"$sources")}
  debian_security_mirror=${KRAGMOOR_DEBIAN_SECURITY_MIRROR:-$(awk '$2 ~ /-security$/ { print $1; exit }' <<<"$sources")}
  debian_mirror=${debian_mirror%/}
  if [ -z "$debian_mirror" ]; then
    echo "no Debian package archive in ${1:-/etc/apt}; set KRAGMOOR_DEBIAN_MIRROR to one" >&2
    return 1
  fi
  debian_security_mirror=${debian_security_mirror%/}
  [ -n "$debian_security_mirror" ] || debian_security_mirror=$debian_mirror-security
}

# Runs a command as root inside the root, with a clean environment.
in_root() {
  chroot "$root_dir" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 "$@"
}

# link_debs FROM TO: puts the .deb files of FROM that TO lacks into TO, as
# hard links where both share a file system. apt-get replaces a file in its
# cache by renaming, never by writing into it.
link_debs() {
  local deb
  for deb in "$1"/*.deb; do
    [ -e "$deb" ] || continue
    [ -e "$2/${deb##*/}" ] || ln "$deb" "$2/" 2>/dev/null || cp "$deb" "$2/" || return 1
  done
}

# root_make NAME [PACKAGE...]: bootstraps a root (minbase and PACKAGEs) into
# a new folder, sets root_dir to it, writes the apt sources and reads them,
# mounts /proc and /dev/pts, and puts apt-NAME's cached packages into its apt
# cache.
root_make() {
  local name=$1
  shift
  local include=()
  [ $# -eq 0 ] || include=("--include=$(IFS=,; echo "$*")")
  debian_mirrors /etc/apt || return 1
  mkdir -p "$kragmoor_cache/debootstrap" "$kragmoor_cache/apt-$name"
  root_dir=$(mktemp -d "${TMPDIR:-/var/tmp}/kragmoor-root.XXXXXX")
  # Readable by apt's download user, as / is.
  chmod 755 "$root_dir"
  {
    flock 9 &&
    debootstrap --variant=minbase "${include[@]}" --cache-dir="$kragmoor_cache/debootstrap" \
      bookworm "$root_dir" "$debian_mirror"
  } 9>"$kragmoor_cache/lock" || return 1

  cat >"$root_dir/etc/apt/sources.list" <<EOF
deb $debian_mirror bookworm main
deb $debian_mirror bookworm-updates main
deb $debian_security_mirror bookworm-security main
EOF
  # No package's install script starts a service here: the root is not a
  # running system, and a daemon left behind would keep it busy.
  printf '#!/bin/sh\nexit 101\n' >"$root_dir/usr/sbin/policy-rc.d"
  chmod 755 "$root_dir/usr/sbin/policy-rc.d"
  # What an installed system has and debootstrap leaves out: the machine's
  # name in /etc/hosts (sudo looks it up), and pseudo-terminals (apt-get logs
  # through one), here an instance of their own for the root.
  printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n' "$(uname -n)" >"$root_dir/etc/hosts"
  mount -t proc proc "$root_dir/proc" || return 1
  mount -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts "$root_dir/dev/pts" || return 1
  rm -f "$root_dir/dev/ptmx"
  ln -s pts/ptmx "$root_dir/dev/ptmx"
  in_root apt-get update || return 1
  # debootstrap leaves its packages in the root's apt cache; they are in its
  # own cache already.
  find "$root_dir/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -delete
  { flock 9 && link_debs "$kragmoor_cache/apt-$name" "$root_dir/var/cache/apt/archives"; } 9>"$kragmoor_cache/lock"
}

# root_keep_archives NAME: makes the root's apt cache apt-NAME's cached set.
root_keep_archives() {
  local name=$1
  {
    flock 9 &&
      find "$kragmoor_cache/apt-$name" -maxdepth 1 -name '*.deb' -delete &&
      link_debs "$root_dir/var/cache/apt/archives" "$kragmoor_cache/apt-$name"
  } 9>"$kragmoor_cache/lock"
}

# The mount points at or below the root, as /proc/self/mountinfo lists them.
root_mounts() {
  awk -v r="$root_dir" '$5 == r || index($5, r "/") == 1 { print $5 }' /proc/self/mountinfo
}

# The ids of the processes whose root directory is the root or below it.
root_processes() {
  local p
  for p in /proc/[0-9]*; do
    case $(readlink "$p/root" 2>/dev/null) in
      "$root_dir" | "$root_dir"/*) echo "${p#/proc/}" ;;
    esac
  done
}

# Removes the root: ends what still runs in it (a step that failed halfway),
# unmounts everything below it, deepest first, and only then deletes it. A
# root that stays mounted is left in place with a message, never deleted
# through the mount.
root_remove() {
  [ -n "$root_dir" ] && [ -d "$root_dir" ] || return 0
  case $root_dir in
    /*/kragmoor-root.*) ;;
    *) echo "not removing $root_dir: not a root this script made" >&2; return 1 ;;
  esac
  case $root_dir in
    *[!A-Za-z0-9/._-]*) echo "not removing $root_dir: unexpected characters" >&2; return 1 ;;
  esac
  local pids attempt mount
  for attempt in $(seq 50); do
    pids=$(root_processes)
    [ -n "$pids" ] || break
    # shellcheck disable=SC2086  # one id per word
    if [ "$attempt" -lt 20 ]; then kill $pids 2>/dev/null; else kill -9 $pids 2>/dev/null; fi
    sleep 0.1
  done
  for mount in $(root_mounts | sort -r); do
    umount "$mount" 2>/dev/null || umount -l "$mount" || true
  done
  if [ -n "$(root_mounts)" ]; then
    echo "not removing $root_dir: still mounted: $(root_mounts | tr '\n' ' ')" >&2
    return 1
  fi
  rm -rf --one-file-system "$root_dir"
  root_dir=""
}
