# The one member list every test file holds, whatever wrote it. Counted on
# 1 January 2027 it gives the figures tests/import/tst_memberlists.cpp expects.
import datetime

HEADER = ["Nachname", "Vorname", "Geschlecht", "Geburtsdatum", "Dan"]

D = datetime.date
MEMBERS = [
    # surname, first name, sex, birth date (a date, a text or None), grade
    ("Müller", "Jürgen", "m", D(1960, 3, 15), 3),
    ("Schäfer", "Anna", "w", D(2020, 1, 1), None),      # 7 on the reference day
    ("Klein", "Tom", "m", D(2020, 1, 2), None),         # still 6
    ("Groß", "Lena", "weiblich", D(2008, 2, 29), "1. Dan"),
    ("Weiß", "Max", "männlich", D(2000, 12, 31), None),
    ("Öztürk", "Ayşe", "Frau", D(1986, 6, 30), 2),      # ş: not in the report's code page
    ("Becker", "Paul", "Herr", D(1966, 1, 1), None),
    ("Wagner", "Kim", "divers", D(1990, 5, 5), None),
    ("Hoffmann", "Eva", "", D(1985, 7, 7), None),
    ("Zimmer", "Udo", "m", None, None),
    ("Neu", "Baby", "w", D(2027, 3, 1), None),          # born after the reference day
    ("Schmidt", "Karl", "m", D(1950, 12, 31), "5. Kyu"),
    ("Fischer", "Ida", "f", D(1980, 1, 1), 10),
    ("Koch", "Jan", "m", "31.12.1986", None),           # a date typed as text
]
