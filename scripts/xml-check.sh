#!/bin/sh
# Started by the tests from inside Wine: checks that an XML file is well-formed and leaves
# xmllint's exit status in a second file (Wine cannot wait for a Unix process).
xmllint --noout "$1" 2>"$2.log"
echo $? > "$2.tmp" && mv "$2.tmp" "$2"
