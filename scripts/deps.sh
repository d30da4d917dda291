# Installs with apt-get whatever the build, the tests and the program need and is missing.
# Sourced by scripts/run and scripts/test.
ZELKAR_PACKAGES="cmake g++ make ninja-build pkg-config qt6-base-dev qt6-webengine-dev libgl-dev libcurl4-openssl-dev libssl-dev
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-wqy-microhei fonts-arphic-uming fonts-dejavu-core
  fonts-liberation libgif-dev giflib-tools apache2-data imagemagick xvfb xauth qt6-translations-l10n qttranslations5-l10n"
# Only for scripts/test --lint.
ZELKAR_LINT_PACKAGES="clang-tidy"

zelkar_install_deps() {
  local missing=()
  for p in $ZELKAR_PACKAGES ${ZELKAR_EXTRA_PACKAGES:-}; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}
