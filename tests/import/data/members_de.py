# A German club's member list as club officers keep it: a title and an empty
# row above the header, headings with notes in them, the sexes spelt in many
# ways. Counted on 1 January 2027 with 9 December 2026 as today, it gives the
# figures tests/import/tst_memberlists.cpp expects.
TITLE = "Mitgliederliste TSV Musterstadt 1899 e.V., Stand 09.12.2026"
HEADER = ["Mitgl.-Nr.", "Nachname", "Vorname", "Geschlecht (m/w/d)", "Geburtsdatum",
          "Graduierung (Dan)", "Eintritt"]

MEMBERS = [
    # surname, first name, sex, birth date (dd.mm.yyyy or empty), grade, joined
    ("Müller", "Jürgen", "männl.", "15.03.1960", "3", "01.04.1975"),
    ("Schäfer", "Anna", "weibl.", "01.01.2020", "", "01.09.2026"),   # 7 on the reference day
    ("Klein", "Tom", "Junge", "02.01.2020", "", "01.09.2026"),       # still 6
    ("Groß", "Lena", "Mädchen", "29.02.2008", "1", "15.01.2014"),
    ("Weiß", "Max", "M", "31.12.2000", "", "01.02.2010"),
    ("Öztürk", "Ayşe", "F", "30.06.1986", "2", "01.03.1999"),       # ş: not in the report's code page
    ("Becker", "Paul", "Herr", "01.01.1966", "", "01.01.1980"),      # hidden in the decorated files
    ("Wagner", "Kim", "d", "05.05.1990", "", "01.06.2020"),
    ("Hoffmann", "Eva", "w.", "07.07.1985", "", "01.07.2001"),
    ("Zimmer", "Udo", "m.", "", "", "01.01.2019"),                  # no birth date
    ("Neu", "Baby", "WEIBLICH", "20.12.2026", "", "09.12.2026"),    # after today: a typo
    ("Schmidt", "Karl", "MÄNNLICH", "31.12.1950", "5", "01.01.1970"),
    ("Fischer", "Ida", "Frau", "01.01.1980", "10", "01.01.1990"),
    ("Alt", "Anton", "Herr", "01.05.1925", "", "01.01.1950"),        # 101; "25" could be 2025
    ("Jung", "Mia", "Mädchen", "03.03.2024", "", "01.09.2026"),     # 2; "24" could be 1924
]
