#!/usr/bin/env bash
# Builds the Debian package from the default build, checks it with lintian
# (no error, no warning), installs it with apt, starts the window from its
# desktop entry as an ordinary user on a virtual display, closes it through
# its Exit button (Alt+X) and checks that the user's folder was made from the
# shipped reference and holds the settings. The package is removed again.
set -euo pipefail
cd "$(dirname "$0")/.."
user=zentrivo-check

(cd build && rm -f zentrivo_*.deb && cpack -G DEB >/dev/null)
deb="$(ls "$PWD"/build/zentrivo_*.deb)"
echo "== lintian $(basename "$deb")"
report="$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'root privileges' || true)"
if grep -E '^(E|W):' <<<"$report"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi

echo "== apt install"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/dev/null
trap 'apt-get remove -y -qq zentrivo >/dev/null 2>&1 || true' EXIT
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
home="$(getent passwd "$user" | cut -d: -f6)"
rm -rf "$home/.local/share/zentrivo"

entry=/usr/share/applications/org.zentrivo.Zentrivo.desktop
desktop-file-validate "$entry"
exec_line="$(sed -n 's/^Exec=//p' "$entry")"
echo "== as $user: $exec_line"
cat >"$home/start-from-menu.sh" <<SCRIPT
#!/usr/bin/env bash
$exec_line &
pid=\$!
for i in \$(seq 1 50); do
  xdotool search --name '^Zentrivo\$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
window="\$(xdotool search --name '^Zentrivo\$' | head -1)"
xdotool windowfocus "\$window"
sleep 0.3
xdotool key alt+x
wait \$pid
SCRIPT
chmod +x "$home/start-from-menu.sh"
su - "$user" -c "cd && timeout 60 xvfb-run -a ./start-from-menu.sh"

folder="$home/.local/share/zentrivo"
for f in clcat.dat cldict.dat clcmd.dat tarvexa.ini; do
  [ -f "$folder/$f" ] || { echo "missing $folder/$f" >&2; exit 1; }
done
cmp -s "$folder/cldict.dat" /usr/share/zentrivo/cldict.dat
[ "$(stat -c %U "$folder/tarvexa.ini")" = "$user" ]
[ "$(su - "$user" -c 'zentrivo-cli list' | wc -l)" -gt 0 ]
echo "== the package installs, starts from its menu entry and keeps the user's data in $folder"
