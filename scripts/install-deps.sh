#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need.
# Quick when nothing is missing: only absent packages reach apt-get.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev qttools5-dev qttools5-dev-tools
  qtdeclarative5-dev-tools libqt5svg5-dev qt5-image-formats-plugins
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-layouts
  qml-module-qtquick-controls2 qml-module-qtquick-templates2 qml-module-qtquick-dialogs
  qml-module-qt-labs-folderlistmodel qml-module-qt-labs-platform qml-module-qt-labs-settings
  qml-module-qtqml-models2 qml-module-qttest
  libarchive-dev libdeflate-dev zlib1g-dev libbenchmark-dev libinih-dev
  fonts-noto-cjk fonts-noto-mono fonts-dejavu-core
  python3 python3-fonttools python3-pil
  xvfb xauth imagemagick zip unzip
  appstream dpkg-dev desktop-file-utils libxml2-utils file bash-completion
  clang clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
