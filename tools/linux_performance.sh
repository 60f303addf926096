#!/usr/bin/env bash
# Measures the Linux program against the desktop peers GNOME Four-in-a-row
# and KFourInLine (when installed: `apt-get install four-in-a-row kfourinline`)
# on a private Xvfb (first free display from :40 to :60), interleaved, and
# writes the section "Rillo on Linux" of docs/performance.md. A benchmark: it
# reports numbers against the targets and fails only when it cannot measure.
#
#   bash tools/linux_performance.sh [ROUNDS]   (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-10}
cmake --preset linux >/dev/null
cmake --build --preset linux -j 2 >/dev/null

. tools/xvfb.sh
start_xvfb
trap stop_xvfb EXIT

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
table=$(DISPLAY=$xvfb_display SDL_AUDIODRIVER=dummy python3 tools/linux_performance.py build/linux "$rounds")
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
section=$(cat <<END
## Rillo on Linux

Written by \`tools/linux_performance.sh\` on $(date -u '+%Y-%m-%d %H:%M') UTC: the native
program (\`build/linux/rillo\`, SDL2 software window surface) and the desktop peers
started in turn on Xvfb 1024x768x24 without a window manager, $rounds rounds, each
program once a round. First picture: from the exec to the window showing a picture
that stays unchanged for 50 ms (Rillo's must be the intro), the same rule for every
program. PSS: summed over the program's processes 2 s after its first picture.
$(nproc) cores shared with other work; load average (1, 5, 15 min) before:
$load_before, after: $load_after.

$table
END
)
report=docs/performance.md
python3 - "$report" "$section" <<'PY'
import re, sys
path, section = sys.argv[1], sys.argv[2].rstrip() + "\n"
text = open(path).read()
# The section stands before the browser's, which is the file's last.
text = re.sub(r"\n## Rillo on Linux\n.*?(?=\n## |\Z)", "", text, flags=re.S)
marker = "\n## Rillo in the browser\n"
if marker in text:
    text = text.replace(marker, "\n" + section + marker, 1)
else:
    text = text.rstrip("\n") + "\n\n" + section
open(path, "w").write(text)
PY
echo "$section"
