"""The forecast's calendar file read back by an independent parser (Debian's
python3-icalendar): two exports of the same forecast, made with
`meridan forecast ... --ics`, parse, name their events alike, fold every line
at 75 octets and end every all-day event after it starts; the best
windows, and only they, carry one reminder at 18:00 the evening before.

Usage: calendar_file_check.py MERIDAN DATA_DIR
"""
import datetime
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import icalendar

meridan, data = sys.argv[1], Path(sys.argv[2])
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


with tempfile.TemporaryDirectory() as tmp:
    root = Path(tmp)
    shutil.copytree(data / "System", root / "System")
    shutil.copytree(data / "Output", root / "Output")
    exports = []
    for kind, n in (("trips", 1), ("trips", 2), ("sale", 3)):
        ics = root / f"forecast{n}.ics"
        subprocess.run([meridan, "forecast", "--kind", kind, "--name", "Иван Петров", "--birth",
                        "20.05.1984", "--start", "05.2025", "--dir", str(root), "--ics", str(ics)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        exports.append(ics.read_bytes())

    uids = []
    for number, raw in enumerate(exports, 1):
        what = f"export {number}"
        check(raw.endswith(b"\r\n"), f"{what}: the last line has no CR LF")
        lines = raw.split(b"\r\n")[:-1]
        check(all(b"\n" not in line and b"\r" not in line for line in lines),
              f"{what}: a line end other than CR LF")
        longest = max(len(line) for line in lines)
        check(longest <= 75, f"{what}: a line of {longest} octets")
        for line in lines:
            try:
                line.decode("utf-8")
            except UnicodeDecodeError:
                failures.append(f"{what}: a fold splits a character: {line!r}")
        # The event names are hashes, whose hexadecimal digits may spell a year.
        text = "\n".join(line for line in raw.decode("utf-8").split("\r\n")
                         if not line.startswith("UID:"))
        check("Иван" not in text and "1984" not in text and "19840520" not in text,
              f"{what}: the person's name or birth date is in the file")
        calendar = icalendar.Calendar.from_ical(raw)
        check(str(calendar.get("VERSION")) == "2.0", f"{what}: VERSION")
        check(calendar.get("PRODID") is not None, f"{what}: no PRODID")
        events = list(calendar.walk("VEVENT"))
        check(len(events) > 5, f"{what}: only {len(events)} events")
        best = [e for e in events if str(e.get("SUMMARY")).startswith("Лучшие дни: ")]
        check(best, f"{what}: no best days")
        for event in events:
            alarms = event.walk("VALARM")
            if event not in best:
                check(not alarms, f"{what}: an alarm on {event.get('SUMMARY')!r}")
                continue
            check(len(alarms) == 1, f"{what}: {len(alarms)} alarms on a best window")
            for alarm in alarms:
                check(str(alarm.get("ACTION")) == "DISPLAY", f"{what}: alarm action")
                check(alarm.decoded("TRIGGER") == -datetime.timedelta(hours=6),
                      f"{what}: the alarm is not at 18:00 the evening before")
                check(str(alarm.get("DESCRIPTION")), f"{what}: an alarm without a text")
            check("Почему:" in str(event.get("DESCRIPTION")), f"{what}: a best window without reasons")
        for event in events:
            start, end = event.decoded("DTSTART"), event.decoded("DTEND")
            check(type(start) is datetime.date and type(end) is datetime.date,
                  f"{what}: {event['UID']} is not all-day")
            check(end > start, f"{what}: {event['UID']} ends before it starts")
            stamp = event.decoded("DTSTAMP")
            check(stamp.tzinfo is not None and stamp.utcoffset() == datetime.timedelta(0),
                  f"{what}: DTSTAMP not in UTC")
            check(str(event.get("TRANSP")) == "TRANSPARENT", f"{what}: not transparent")
            summary = str(event.get("SUMMARY"))
            # The kind, then the sign in words and what the days are about, or
            # a planet's turn, short enough for a phone's one line; or a best window.
            check(summary.startswith("Лучшие дни: ") or
                  (summary.startswith(("Поездки: ", "Автосервис: ", "Покупка-продажа: ")) and
                   len(summary) <= 60), f"{what}: summary {summary!r}")
        uids.append([str(event["UID"]) for event in events])
        check(len(set(uids[-1])) == len(uids[-1]), f"{what}: two events share a UID")
        # A text with commas and semicolons comes back whole.
        check(any("," in str(event.get("DESCRIPTION")) for event in events),
              f"{what}: no description with a comma came back")

    check(uids[0] == uids[1], "two exports of the same forecast name their events differently")
    check(not set(uids[0]) & set(uids[2]), "two kinds share event names")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
