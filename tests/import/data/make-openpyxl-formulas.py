#!/usr/bin/python3
# Writes a workbook as openpyxl saves one: formulas without a stored result
# (openpyxl computes nothing), a hidden row and a hidden column.
#   apt-get install python3-openpyxl
#   /usr/bin/python3 make-openpyxl-formulas.py     (in this folder)
# The file is checked in: the tests need no openpyxl.
import datetime

import openpyxl

wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Mitglieder"
ws.append(["Nachname", "Vorname", "Geschlecht", "Geburtsdatum", "Dan", "Alter"])
rows = [
    ("Müller", "Jürgen", "m", datetime.date(1960, 3, 15), 3),
    ("Schäfer", "Anna", "w", "=DATE(2020,1,1)", None),         # the date is a formula
    ("Klein", "Tom", '=IF(TRUE,"m","w")', datetime.date(2020, 1, 2), None),
    ("Groß", "Lena", "w", datetime.date(2008, 2, 29), "=0+1"),  # so is the grade
    ("Becker", "Paul", "m", datetime.date(1966, 1, 1), None),   # a hidden row
]
for i, r in enumerate(rows, start=2):
    ws.append(list(r) + ["=DATEDIF(D%d,TODAY(),\"y\")" % i])
    if isinstance(r[3], datetime.date):
        ws.cell(row=i, column=4).number_format = "DD.MM.YYYY"
ws.row_dimensions[6].hidden = True
ws.column_dimensions["F"].hidden = True
wb.save("openpyxl-formeln.xlsx")
