#!/usr/bin/env bash
# The desktop font profile: the real-window check and the widget tests that look
# at fonts, run again under desktop font settings, each made by a private
# fontconfig file (FONTCONFIG_FILE) on top of the system's:
#   noto-sans-mono     "monospace" is Noto Sans Mono (fails Qt's fixed-pitch test)
#   nimbus-mono-ps     "monospace" is Nimbus Mono PS (other metrics)
#   dejavu-sans-mono   "monospace" is DejaVu Sans Mono
#   liberation-mono    "monospace" is Liberation Mono
#   no-desktop-fonts   the fonts of fonts-noto-mono, fonts-dejavu-extra,
#                      fonts-urw-base35 and fonts-droid-fallback left out, as on
#                      a machine without them
# The system's own setting is the one the ordinary test run uses.
#   bash tests/realwindows/font-profiles.sh build [PROFILE...]
# Screenshots go to build/window-check/fonts-PROFILE/.
set -u
cd "$(dirname "$0")/../.."
build=${1:-build}
shift || true
profiles=("$@")
[ ${#profiles[@]} -gt 0 ] || profiles=(noto-sans-mono nimbus-mono-ps dejavu-sans-mono liberation-mono no-desktop-fonts)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The font rules of a profile (fontconfig elements read before the system's).
rules() {
  local family
  case $1 in
    noto-sans-mono) family="Noto Sans Mono" ;;
    nimbus-mono-ps) family="Nimbus Mono PS" ;;
    dejavu-sans-mono) family="DejaVu Sans Mono" ;;
    liberation-mono) family="Liberation Mono" ;;
    no-desktop-fonts)
      echo "<selectfont><rejectfont>"
      dpkg -L fonts-noto-mono fonts-dejavu-extra fonts-urw-base35 fonts-droid-fallback 2>/dev/null |
        grep -E '\.(ttf|otf|t1|pfb)$' | sed 's|.*|<glob>&</glob>|'
      echo "</rejectfont></selectfont>"
      return ;;
    *) echo "unknown font profile: $1" >&2; return 1 ;;
  esac
  echo "<alias binding=\"strong\"><family>monospace</family><prefer><family>$family</family></prefer></alias>"
}

status=0
for name in "${profiles[@]}"; do
  conf="$work/$name.conf"
  {
    echo '<?xml version="1.0"?>'
    echo '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">'
    echo '<fontconfig>'
    rules "$name" || exit 2
    echo '<include ignore_missing="yes">/etc/fonts/fonts.conf</include>'
    echo '</fontconfig>'
  } >"$conf"
  export FONTCONFIG_FILE=$conf
  monospace=$(fc-match -f '%{family[0]}' monospace)
  echo "== fonts: $name; \"monospace\" is $monospace"
  # A profile that did not take effect would test nothing new.
  wanted=$(rules "$name" | sed -n 's|.*<prefer><family>\(.*\)</family></prefer>.*|\1|p')
  if [ -n "$wanted" ] && [ "$monospace" != "$wanted" ]; then
    echo "The profile $name did not take effect: \"monospace\" is $monospace, not $wanted." >&2
    status=1
  elif [ "$name" = no-desktop-fonts ] && fc-list | grep -q 'NotoSansMono'; then
    echo "The profile $name did not take effect: Noto Sans Mono is still offered." >&2
    status=1
  fi
  QT_QPA_PLATFORM=offscreen "$build/bin/test_list" \
    --gtest_filter='ContactListWindowTest.*Heading*:ContactListWindowTest.ACitySearch*:TabStops.*' \
    --gtest_brief=1 || status=1
  # The whole check under the face that differs most, the list's windows under the others.
  filter='RealWindows.ANewFile*:RealWindows.*List*'
  [ "$name" = noto-sans-mono ] && filter='*'
  GTEST_FILTER=$filter bash tests/realwindows/run.sh "$build/bin/check_real_windows" \
    "$build/window-check/fonts-$name"
  case $? in 0 | 77) ;; *) status=1 ;; esac
  unset FONTCONFIG_FILE
done
exit $status
