#!/usr/bin/env bash
# Renders the user manual's pictures with the panel's own tests (ManualPicturesTest, the real
# panel and dialogs on simulated units) and puts them in docs/manual/, beside the manual, in
# place of the ones there. Run it whenever a picture's subject changes and commit the folder;
# the tests fail when the manual shows a picture docs/manual/ lacks, or the other way round.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh vcp_test_panel
rm -rf build/manual
QT_QPA_PLATFORM=offscreen build/bin/vcp_test_panel --gtest_filter='ManualPicturesTest.*' \
    --gtest_brief=1
rm -f docs/manual/*.png
mkdir -p docs/manual
cp build/manual/*.png docs/manual/
ls docs/manual
