#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the scripts need, and only those
# that dpkg says are missing. Each subsystem lists its own packages in scripts/packages/*.txt
# (one name per line, '#' starts a comment). Idempotent: a second run installs nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mapfile -t wanted < <(cat "$here"/packages/*.txt | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
