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
Walkthrough/EveryPage-0-reading.png 00-reading-setup-information.png
Walkthrough/EveryPage-1-welcome.png 01-welcome.png
Walkthrough/EveryPage-1-cancel-question.png 02-cancel-question.png
Walkthrough/EveryPage-2-model.png 03-model.png
Scenario/EmptyModelListWarnsOnNext-select-model-warning.png 04-model-warning.png
Walkthrough/EveryPage-3-port-kind.png 05-port-kind.png
PortPage/SerialListWhenTheSpoolerListsComPortsFirst-serial.png 06-port-serial.png
PortPage/UsbListSelectsTheProductPrinter-usb-product.png 07-port-usb.png
Walkthrough/EveryPage-4-port-warning.png 08-port-warning.png
Walkthrough/EveryPage-5-copy.png 09-copy.png
Walkthrough/EveryPage-6-writing.png 10-writing-system-information.png
Walkthrough/EveryPage-7-exit-succeeded.png 11-exit-succeeded.png
DialogKit/FailureShowsNoBox-failed.png 12-exit-failed.png
Install/SpoolerErrorIsShownAndTheInstallationFails-spooler-error.png 13-spooler-error.png
Install/EarlierInstallationDeclinedEndsWithoutChanges-restart-question.png 14-earlier-installation-restart.png
Removal/EverythingGoesThenRestartDeclined-restart-question.png 15-removal-restart.png
LIST
ls "$to"
