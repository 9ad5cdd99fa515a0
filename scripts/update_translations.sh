#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Brings translations/kaleidomat_en.ts up to date with ui/texts.h: lupdate
# adds every new or changed Japanese text as unfinished and drops texts that
# are gone, keeping every finished translation. Fill in the new ones with
# Qt Linguist (linguist translations/kaleidomat_en.ts) or in a text editor
# (write the English into <translation> and remove type="unfinished").
#
#   scripts/update_translations.sh           update the .ts
#   scripts/update_translations.sh --check   change nothing; fail when the
#       .ts is not up to date or a translation is missing or unfinished
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ts="$root/translations/kaleidomat_en.ts"
lupdate=$(command -v lupdate || true)
[ -x /usr/lib/qt6/bin/lupdate ] && lupdate=/usr/lib/qt6/bin/lupdate
[ -n "$lupdate" ] || { echo "lupdate not found (Debian: qt6-l10n-tools)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/scripts/texts_for_lupdate.py" "$root/ui/texts.h" "$work/texts.cpp"
lupdate_ts() {
  "$lupdate" -silent -no-obsolete -locations none -source-language ja -target-language en "$work/texts.cpp" -ts "$1"
}

if [ "${1:-}" != --check ]; then
  lupdate_ts "$ts"
  exit 0
fi

status=0
cp "$ts" "$work/updated.ts"
lupdate_ts "$work/updated.ts"
if ! cmp -s "$ts" "$work/updated.ts"; then
  echo "translations/kaleidomat_en.ts does not match ui/texts.h (a text was added, changed or removed):" >&2
  diff -u "$ts" "$work/updated.ts" | grep '^[-+] *<source>' >&2 || true
  echo "Run scripts/update_translations.sh and translate what it marks unfinished." >&2
  status=1
fi
python3 - "$ts" <<'PY' || status=1
import sys, xml.etree.ElementTree as ET
missing = []
for message in ET.parse(sys.argv[1]).iter("message"):
    t = message.find("translation")
    if t is None or t.get("type") or not (t.text or "").strip():
        missing.append(message.findtext("source"))
for source in missing:
    print("no finished English translation: " + source, file=sys.stderr)
sys.exit(1 if missing else 0)
PY
exit $status
