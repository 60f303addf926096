#!/usr/bin/env bash
# Refreshes the README's pictures in docs/screenshots/ from the screenshots
# of the last end-to-end run (build/e2e/screenshots/, written by e2e/run.sh).
# A test run never touches docs/; this is the one command that does.
#
#   bash e2e/run.sh intro_menu two_player_win highscore_screen name_dialogs
#   bash tools/update_screenshots.sh
#
# The pictures come only from scenarios whose screens do not depend on the
# clock (the computer's moves do, so no game against it is pictured), and
# only from a passing run against build/windows (not the release package).
# docs/screenshots/highscores_after_win.png shows a game against the easy
# computer and is therefore kept as it is.
#
# When the browser tests have left pictures in build/web-e2e/screenshots/,
# the page's pictures the README shows (web_pictures below) are copied as
# well, under their own names; the browser's other pictures (intro.png,
# menu.png, ...) would otherwise replace the Windows program's of the same
# name.
set -euo pipefail
cd "$(dirname "$0")/.."

shots=build/e2e/screenshots
out=docs/screenshots

# "picture scenario screenshot": docs/screenshots/<picture>.png is the
# screenshot <screenshot>.bmp of <scenario>.
pictures=(
    "intro intro_menu intro"
    "menu intro_menu menu"
    "game two_player_win game"
    "highscores highscore_screen highscores"
    "name_dialog name_dialogs name_dialog"
    "win_box name_dialogs win_box"
)

missing=()
for entry in "${pictures[@]}"; do
    read -r picture scenario screenshot <<<"$entry"
    verdict=$(cat "build/e2e/$scenario/verdict" 2>/dev/null || true)
    if [ "$verdict" != PASS ] || [ ! -f "$shots/$scenario-$screenshot.png" ]; then
        missing+=("$scenario")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    # Each scenario named once.
    scenarios=$(printf '%s\n' "${missing[@]}" | sort -u | tr '\n' ' ')
    echo "update_screenshots: no passing run of: $scenarios" >&2
    echo "run them first: bash e2e/run.sh $scenarios" >&2
    exit 1
fi

mkdir -p "$out"
for entry in "${pictures[@]}"; do
    read -r picture scenario screenshot <<<"$entry"
    cp "$shots/$scenario-$screenshot.png" "$out/$picture.png"
    echo "$out/$picture.png from $scenario"
done

web=build/web-e2e/screenshots
web_pictures=(web_game phone_landscape)
if [ -d "$web" ]; then
    for picture in "${web_pictures[@]}"; do
        [ -f "$web/$picture.png" ] || continue
        cp "$web/$picture.png" "$out/$picture.png"
        echo "$out/$picture.png from the browser tests"
    done
fi
