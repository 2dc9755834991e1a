#!/usr/bin/env bash
# packaged-program.sh ZIP SOURCE BOXSIM
# The Windows package as a user gets it: unpacked from its zip into a folder whose name no
# ANSI code page spells, with a settings file beside vantorel.exe naming the test's COM port,
# which Wine links to the simulated box. Under Wine and Xvfb the program starts, opens the port when its
# window is first activated, and "HW Info" (Ctrl+I) reaches the box, which answers; the log
# saved through the Log menu (into the program's folder, where its file dialog starts) then
# holds the request the program sent and the reply it received. Each link of that chain has its own check; the
# command line first answers on the streams it is given. Then vantorel-cli.exe asks the box.
# Before that, what a packager checks: every text a Windows text, the licence of each library
# the programs contain, Vantorel's copyright naming the package's own licence file, the manual
# page's headings whole, and the source archive SOURCE holding the project and the Qt source
# package the package's own qt\SOURCE.txt names, complete.
set -uo pipefail
zip=$1 source_archive=$2 boxsim=$3
source "$(dirname "$0")/program-under-wine.sh"

unpacked="$work/Prüfung Ωmega таблица Łódź 𝄞"
mkdir "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
program=$(ls "$unpacked"/vantorel-*/vantorel.exe) || fail "no vantorel.exe in $zip"
package=$(dirname "$program")

while IFS= read -r -d '' text; do
  ! grep -q -v $'\r$' "$text" || fail "${text#"$package"/} has a line without CR LF"
done < <(find "$package" \( -name '*.txt' -o -name '*.ini' \) -print0)
# A library's text: its notices, then its licence's text.
for library in freetype harfbuzz-ng pcre2 zlib libpng doubleconversion md4c tinycbor; do
  notice=$package/qt/third-party/$library.txt
  grep -q '^Copyright:' "$notice" && (($(wc -l <"$notice") > 15)) \
    || fail "no licence text for $library: $(ls "$package/qt/third-party")"
done
grep -q 'GCC RUNTIME LIBRARY EXCEPTION' "$package/runtime/gcc.txt" || fail "runtime/gcc.txt lacks GCC's runtime exception"
grep -q 'winpthreads' "$package/runtime/mingw-w64.txt" || fail "runtime/mingw-w64.txt lacks winpthreads"
grep -q "${source_archive##*/}" "$package/README.txt" || fail "README.txt does not name ${source_archive##*/}"
grep -q '(the file COPYING\.txt)' "$package/copyright.txt" && ! grep -q '/usr/share' "$package/copyright.txt" \
  || fail "copyright.txt names a licence file the package lacks: $(cat "$package/copyright.txt")"
# The manual page's item headings and the registry key, each kept on one line.
for whole in 'positions get|put file' 'monitor \[--seconds s\]' 'DEVICEMAP\\SERIALCOMM,'; do
  grep -q "$whole" "$package/vantorel-cli.txt" || fail "vantorel-cli.txt breaks '$whole': $(cat "$package/vantorel-cli.txt")"
done

(cd "$work" && tar xJf "$source_archive") || fail "cannot unpack $source_archive"
sources=$work/$(basename "$source_archive" .tar.xz)
[[ -f $sources/$(basename "$package")/scripts/build-qt-windows.sh ]] || fail "the source archive lacks the project: $(ls "$sources")"
dsc=$(ls "$sources"/qt/qt6-base_*.dsc) || fail "the source archive holds no Qt source package: $(ls "$sources/qt")"
grep -qxF "  ${dsc##*/}"$'\r' "$package/qt/SOURCE.txt" || fail "${dsc##*/} is not the Qt source qt/SOURCE.txt names"
# Every file the .dsc lists, with its checksum.
awk '/^Checksums-Sha256:/ { listed = 1; next } /^[^ ]/ { listed = 0 } listed && NF == 3 { print $1 "  " $3 }' "$dsc" \
  >"$work/qt-source.sha256"
[[ -s $work/qt-source.sha256 ]] || fail "${dsc##*/} lists no files"
(cd "$sources/qt" && sha256sum --quiet -c "$work/qt-source.sha256") || fail "the Qt source package is not complete"

printf '[init]\r\nport=%s\r\n' "$com" >"$package/vantorel.ini"

# A window program has no console: given streams (as here), it answers on them; started from
# the desktop it would show a message box instead.
out=$(run "$program" --version) || fail "--version exited $?: $out"
[[ $out == "vantorel "* ]] || fail "--version printed '$out'"
out=$(run "$program" COM3 2>&1)
code=$?
[[ $code -eq 2 && $out == *"unexpected argument 'COM3'"* ]] || fail "a stray argument exited $code: $out"

# The runs above have made the Wine prefix.
start_box_as_com "$boxsim"
open_window "$program"
request_hw_info

# The reply is shown as ASCII: its longest printable run must reach the log.
reply_text=$(for byte in $(sed -n 's/^reply: //p' "$work/box.log" | head -n1); do printf "\\x$byte"; done \
             | tr -c '[:print:]' '\n' | awk 'length > length(best) { best = $0 } END { print best }')

# Log > Save log, through the keyboard: Alt opens the menu bar, "Log" is its third menu,
# "Save log" the third item; the file dialog takes the name.
saved=$package/saved.log
sleep 1
xdotool windowfocus --sync "$window"
xdotool key --delay 150 alt Right Right Down Down Down Return
sleep 2
xdotool type --delay 20 saved.log
xdotool key Return
within 15 test -s "$saved" || fail "the log was not saved to $saved"

grep -q '^S: 0x01 0x00' "$saved" || fail "the saved log holds no HW Info request: $(cat "$saved")"
[[ -n $reply_text ]] || fail "the box's reply holds no text: $(cat "$work/box.log")"
grep '^R: ' "$saved" | grep -qF "$reply_text" || fail "the saved log does not hold the box's reply '$reply_text': $(cat "$saved")"
grep -q 'COM port opened' "$saved" || fail "the saved log does not say the port opened: $(cat "$saved")"

# Once the window has gone, the command line beside it reads the same settings and gets the
# same reply.
stop_wine
out=$(run "$package/vantorel-cli.exe" --quiet --display ascii info) || fail "vantorel-cli info exited $?: $out"
# A line printed ends without the reply's trailing blanks, as a log line does.
[[ $out == *"${reply_text%"${reply_text##*[! ]}"}"* ]] || fail "vantorel-cli printed '$out', not the box's reply '$reply_text'"
echo PASS
