#!/bin/sh
# Started by the tests from inside Wine: "on" makes a file unwritable even for root (the
# tests run as root, for whom a read-only attribute means nothing), "off" makes it
# writable again. A detached sleeper also releases it after a minute, should the test
# never get to "off". chattr's status is left in a second file, since Wine cannot wait
# for a Unix process.
mode="$1"; file="$2"; status="$3"
if [ "$mode" = on ]; then
  chattr +i "$file" 2>/dev/null
  result=$?
  [ $result -eq 0 ] && setsid sh -c "sleep 60; chattr -i '$file'" >/dev/null 2>&1 </dev/null &
else
  chattr -i "$file" 2>/dev/null
  result=$?
fi
echo $result > "$status.tmp" && mv "$status.tmp" "$status"
