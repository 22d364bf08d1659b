#!/usr/bin/python3
# Writes the member lists made by independent tools: .xlsx by openpyxl,
# .ods by odfpy, CSV by Python's csv module. Run in this folder; the files
# are checked in, so the tests need none of these tools.
#   apt-get install python3-openpyxl python3-odf  (Debian's python3)
import csv
import datetime

import openpyxl
from openpyxl.utils.datetime import CALENDAR_MAC_1904
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P

from members import HEADER, MEMBERS


def rows():
    yield HEADER
    for m in MEMBERS:
        yield list(m)


def xlsx(name, epoch1904=False):
    wb = openpyxl.Workbook()
    if epoch1904:
        wb.epoch = CALENDAR_MAC_1904
    ws = wb.active
    ws.title = "Mitglieder"
    for r in rows():
        ws.append(r)
    for cell in ws["D"][1:]:
        if isinstance(cell.value, datetime.date):
            cell.number_format = "DD.MM.YYYY"
    if epoch1904:
        notes = wb.create_sheet("Notizen")
        notes.append(["Stand", "Dezember"])
    wb.save(name)


def ods(name):
    doc = OpenDocumentSpreadsheet()
    table = Table(name="Mitglieder")
    for r in rows():
        tr = TableRow()
        for v in r:
            if isinstance(v, datetime.date):
                tc = TableCell(valuetype="date", datevalue=v.isoformat())
                tc.addElement(P(text=v.strftime("%d.%m.%Y")))
            elif isinstance(v, int):
                tc = TableCell(valuetype="float", value=v)
                tc.addElement(P(text=str(v)))
            elif v:
                tc = TableCell(valuetype="string")
                tc.addElement(P(text=v))
            else:
                tc = TableCell()
            tr.addElement(tc)
        # What LibreOffice writes after the last used column.
        tr.addElement(TableCell(numbercolumnsrepeated=1000))
        table.addElement(tr)
    # ... and after the last used row.
    empty = TableRow(numberrowsrepeated=1048000)
    empty.addElement(TableCell(numbercolumnsrepeated=1024))
    table.addElement(empty)
    doc.spreadsheet.addElement(table)
    doc.save(name)


def text(v, iso):
    if isinstance(v, datetime.date):
        return v.isoformat() if iso else v.strftime("%d.%m.%Y")
    return "" if v is None else str(v)


def csv_file(name, encoding, delimiter, iso=False, extra=False):
    with open(name, "w", encoding=encoding, newline="") as f:
        w = csv.writer(f, delimiter=delimiter, lineterminator="\r\n", quoting=csv.QUOTE_MINIMAL)
        header = HEADER + (["Bemerkung"] if extra else [])
        w.writerow(header)
        for i, m in enumerate(MEMBERS):
            row = [text(v, iso) for v in m]
            if encoding == "cp1252":
                # Excel's best fit for a letter the code page lacks.
                row = [v.replace("ş", "s") for v in row]
            if extra:
                # Separators, quotes and a line break inside fields.
                row.append('Trainer; "Jugend", Zeile 1\nZeile 2' if i % 3 == 0 else "")
            w.writerow(row)


xlsx("openpyxl.xlsx")
xlsx("openpyxl-1904.xlsx", epoch1904=True)
ods("odfpy.ods")
csv_file("excel-utf8-bom.csv", "utf-8-sig", ";")
csv_file("excel-windows1252.csv", "cp1252", ";", extra=True)
csv_file("comma-utf8.csv", "utf-8", ",", iso=True, extra=True)
csv_file("tab-utf8.txt", "utf-8", "\t")
