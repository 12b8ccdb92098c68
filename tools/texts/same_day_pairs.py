#!/usr/bin/env python3
"""Which texts of an interpretation file stand on one day, and about what.

Runs `meridan scan` for many birth dates over a year of months, collects
every pair of printed texts that fall on the same day, and gives each text
its matter: documents, money, the technique, people, the road or one's own
state, read from the words of its first sentence (the claim a reader takes
in first). A pair that shares a matter and has opposite bars (a blue text
beside a red one) is listed for an editor to read: the two must be able to
stand together. Everything else is counted.

    tools/texts/same_day_pairs.py --meridan build/program/meridan --dir PROGRAM_DIR
"""

import argparse
import collections
import itertools
import re
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

KINDS = {"trips": "go.dat", "service": "servis.dat", "sale": "sale.dat"}

# Stems of each matter, lower case, «е» for «ё». The first sentence's hits
# decide; a tie goes to the earlier matter in this list.
MATTERS = {
    "documents": "документ бумаг договор полис страхов птс стс регистрац заказ-наряд подпис справк "
    "штраф инспектор госавтоинспекц реестр залог оформлен протокол гаранти смет чек".split(),
    "money": "деньг денеж цен бюджет трат кредит скидк расход переплат оплат задат рассрочк стоимост "
    "выгод сумм купюр торг платеж экономи".split(),
    "technique": "тормоз шин двигател мотор электри электрон проводк детал запчаст ремонт масл жидкост "
    "аккумулятор диагност осмотр подвеск кузов болт резьб датчик механик колодк салон "
    "полиров покраск техник".split(),
    "people": "попутчик пассажир водител мастер продав покупател собеседник близк спор приемщик сервис "
    "консультант дилер сторон ссор конфликт давлен нажим".split(),
    "road": "дорог маршрут навигатор навигац пробк трасс поток съезд указател обгон дистанц "
    "развязк перекрест поездк путешеств пут".split(),
    "self": "усталост раздражен внимани настроени сил энерги реакц нетерпен уверенн голов мысл "
    "чуть интуиц азарт спешк терпени самолюби вкус желани".split(),
}


def fold(text):
    return text.lower().replace("ё", "е")


def matter_of(text):
    first = re.split(r"[.!?]", text, maxsplit=1)[0]
    words = re.findall(r"[а-яa-z-]+", fold(first))
    score = {m: sum(any(w.startswith(s) for s in stems) for w in words) for m, stems in MATTERS.items()}
    best = max(score.values())
    return next(m for m, s in score.items() if s == best) if best else "self"


# Stems too general to say what a sentence is about («дорог» is also
# «дорогой», expensive).
GENERAL = set("дорог пут поездк поток сервис салон мастер сил мысл сторон техник".split())


def topics(text):
    """The matter stems that the first sentence names, the general ones left out."""
    first = re.split(r"[.!?]", text, maxsplit=1)[0]
    words = re.findall(r"[а-яa-z-]+", fold(first))
    return {s for stems in MATTERS.values() for s in stems for w in words
            if w.startswith(s) and s not in GENERAL}


def load_texts(path):
    """(transit, aspect, natal) -> (record number, rating, text), first record wins."""
    lines = open(path, "rb").read().decode("cp1251").replace("\r\n", "\n").split("\n")
    texts, number = {}, 0
    for i, line in enumerate(lines):
        if not line.startswith("*"):
            continue
        number += 1
        key = (int(line[2:5]), int(line[6:9]), int(line[10:13]))
        code = int(line[14:17])
        rating = -(code - 100) if code > 100 else code
        texts.setdefault(key, (number, rating, lines[i + 1].split("@")[0]))
    return texts


def scan(meridan, program_dir, kind, birth, month):
    out = subprocess.run(
        [meridan, "scan", "--kind", kind, "--birth", birth, "--month", month, "--dir", program_dir],
        check=True, capture_output=True, text=True).stdout
    days = collections.defaultdict(list)
    for line in out.splitlines():
        day, transit, aspect, natal, _rating, accepted, _length = map(int, line.split("\t"))
        if accepted:
            days[day].append((transit, aspect, natal))
    return [sorted(set(hits)) for hits in days.values()]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--meridan", required=True)
    ap.add_argument("--dir", required=True, help="program directory whose System/ holds the texts")
    ap.add_argument("--year", type=int, default=2027)
    ap.add_argument("--list", type=int, default=40, help="opposite pairs listed per kind")
    args = ap.parse_args()

    # Births one a month and a few days apart over six decades, so that the
    # natal bodies take every sign.
    births = [f"{(7 * k) % 28 + 1:02d}.{k % 12 + 1:02d}.{1950 + (k * 7) % 56}" for k in range(30)]
    months = [f"{m:02d}.{args.year}" for m in range(1, 13)]

    for kind, file in KINDS.items():
        texts = load_texts(f"{args.dir}/System/{file}")
        matters = {key: matter_of(t[2]) for key, t in texts.items()}
        jobs = [(kind, b, m) for b in births for m in months]
        with ThreadPoolExecutor(max_workers=2) as pool:
            results = pool.map(lambda j: scan(args.meridan, args.dir, *j), jobs)
        pairs = collections.Counter()
        days = 0
        for month_days in results:
            for hits in month_days:
                days += 1
                for a, b in itertools.combinations(hits, 2):
                    pairs[(a, b)] += 1
        same = {p: n for p, n in pairs.items() if matters[p[0]] == matters[p[1]]}
        opposite = {p: n for p, n in same.items() if texts[p[0]][1] * texts[p[1]][1] < 0}
        # Opposite bars whose first sentences name the same thing (fatigue,
        # the route, money talk): the pairs a reader may take for a clash.
        named = {k: topics(t[2]) for k, t in texts.items()}
        close = {p: n for p, n in opposite.items() if named[p[0]] & named[p[1]]}
        print(f"== {kind} ({file}): {len(births)} births x {len(months)} months, {days} days with "
              f"texts; {len(pairs)} distinct same-day pairs, {len(same)} share a matter, "
              f"{len(opposite)} of them with a blue and a red bar, {len(close)} of these naming "
              f"the same thing in their first sentences")
        print("   matters: " + ", ".join(f"{m} {n}" for m, n in
                                         collections.Counter(matters.values()).most_common()))
        for (a, b), n in sorted(close.items(), key=lambda x: -x[1])[: args.list]:
            ta, tb = texts[a], texts[b]
            both = " ".join(sorted(named[a] & named[b]))
            print(f"   {n:4d} days  #{ta[0]} ({ta[1]:+d}) / #{tb[0]} ({tb[1]:+d})  [{matters[a]}: {both}]")
            print(f"        #{ta[0]}: {ta[2][:150]}")
            print(f"        #{tb[0]}: {tb[2][:150]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
