#!/bin/sh
# Copies a current set of screenshots from the last test run
# (build/test-results/) into docs/screenshots/, under names that say what
# each shows.
set -eu
cd "$(dirname "$0")/.."
from=build/test-results
to=docs/screenshots
mkdir -p "$to"
while read -r source name; do
    if [ -f "$from/$source" ]; then
        cp "$from/$source" "$to/$name"
    else
        echo "missing: $from/$source (run ./scripts/run-tests.sh first)" >&2
        exit 1
    fi
done <<'LIST'
Walkthrough/EveryPage-1-welcome.png 01-welcome.png
Walkthrough/EveryPage-1-cancel-question.png 02-cancel-question.png
Walkthrough/EveryPage-2-model.png 03-model.png
Scenario/EmptyModelListWarnsOnNext-select-model-warning.png 04-model-warning.png
Walkthrough/EveryPage-3-port-kind.png 05-port-kind.png
PortPage/SerialListWhenTheSpoolerListsComPortsFirst-serial.png 06-port-serial.png
PortPage/UsbListSelectsTheProductPrinter-usb-product.png 07-port-usb.png
Walkthrough/EveryPage-4-port-warning.png 08-port-warning.png
DialogKit/StatusDialogShowsItsTextCentred-status.png 09-status.png
DialogKit/SuccessWithTheBoxCheckedMakesTheDefaultPrinter-succeeded.png 10-exit-succeeded.png
DialogKit/FailureShowsNoBox-failed.png 11-exit-failed.png
LIST
ls "$to"
