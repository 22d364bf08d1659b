#!/usr/bin/python3
# Writes the member lists that LibreOffice makes, as clubs have them:
#   handgemacht-titel.csv            the German-locale CSV they are made from
#                                    (";", UTF-8, a title above the header)
#   libreoffice-de.xlsx/.ods/.csv    soffice --convert-to from that CSV, read
#                                    with the German locale: the CSV export
#                                    writes dates as DD.MM.YY
#   libreoffice-titel-ausgeblendet.xlsx/.ods
#                                    the same list with the title merged over
#                                    the columns, Becker's row and the
#                                    "Eintritt" column hidden
#   libreoffice-kennwort.ods         saved with the password "geheim" (an
#                                    encrypted .xlsx could not be made here:
#                                    LibreOffice 7.4 headless fails to store
#                                    one, with "EncryptionData" or "Password")
#   libreoffice.xls                  the old Excel format
# Made with LibreOffice 7.4 headless on Debian 12:
#   apt-get install libreoffice-calc-nogui python3-uno
#   /usr/bin/python3 make-libreoffice-files.py     (in this folder)
# The files are checked in: the tests need no LibreOffice.
import os
import shutil
import subprocess
import tempfile
import time

from members_de import HEADER, MEMBERS, TITLE

HERE = os.path.dirname(os.path.abspath(__file__))
# Separator ";", quote '"', UTF-8 (76), from row 1, German locale (1031).
CSV_OPTIONS = "59,34,76,1,,1031"
CSV_FILTER = "Text - txt - csv (StarCalc)"


def write_source(path):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(TITLE + "\r\n\r\n")
        f.write(";".join(HEADER) + "\r\n")
        for i, m in enumerate(MEMBERS):
            f.write(";".join([str(i + 1)] + list(m)) + "\r\n")


def soffice_env(profile):
    env = dict(os.environ, LANG="de_DE.UTF-8", LC_ALL="de_DE.UTF-8", HOME=profile)
    return env, "-env:UserInstallation=file://" + profile


def convert(source, profile):
    env, user = soffice_env(profile)
    out = tempfile.mkdtemp()
    for target in ["xlsx", "ods", "csv:%s:%s" % (CSV_FILTER, CSV_OPTIONS)]:
        subprocess.run(["soffice", user, "--headless", "--infilter=CSV:" + CSV_OPTIONS,
                        "--convert-to", target, "--outdir", out, source], check=True, env=env,
                       timeout=120)
    base = os.path.splitext(os.path.basename(source))[0]
    for ext in ["xlsx", "ods", "csv"]:
        shutil.move(os.path.join(out, base + "." + ext),
                    os.path.join(HERE, "libreoffice-de." + ext))


def decorated(source, profile):
    import uno
    from com.sun.star.beans import PropertyValue

    def props(**kw):
        out = []
        for k, v in kw.items():
            p = PropertyValue()
            p.Name, p.Value = k, v
            out.append(p)
        return tuple(out)

    env, user = soffice_env(profile)
    office = subprocess.Popen(["soffice", user, "--headless", "--invisible", "--norestore",
                               "--accept=pipe,name=zorlistgen;urp;"], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        ctx = None
        for _ in range(150):
            try:
                ctx = resolver.resolve("uno:pipe,name=zorlistgen;urp;StarOffice.ComponentContext")
                break
            except Exception:
                time.sleep(0.2)
        if ctx is None:
            raise SystemExit("LibreOffice did not answer")
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        # A copy, so that LibreOffice's lock file stays out of this folder.
        copy = os.path.join(profile, os.path.basename(source))
        shutil.copy(source, copy)
        doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(copy), "_blank", 0, props(
            Hidden=True, FilterName=CSV_FILTER, FilterOptions=CSV_OPTIONS))
        if doc is None:
            raise SystemExit("LibreOffice did not load " + copy)
        sheet = doc.Sheets.getByIndex(0)
        sheet.Name = "Mitglieder"
        sheet.getCellRangeByName("A1:G1").merge(True)
        becker = 3 + [m[0] for m in MEMBERS].index("Becker")  # title, empty row, header
        sheet.Rows.getByIndex(becker).IsVisible = False
        sheet.Columns.getByIndex(HEADER.index("Eintritt")).IsVisible = False

        def store(name, filter_name, **more):
            doc.storeToURL(uno.systemPathToFileUrl(os.path.join(HERE, name)),
                           props(FilterName=filter_name, **more))

        store("libreoffice-titel-ausgeblendet.xlsx", "Calc MS Excel 2007 XML")
        store("libreoffice-titel-ausgeblendet.ods", "calc8")
        store("libreoffice-kennwort.ods", "calc8", Password="geheim")
        store("libreoffice.xls", "MS Excel 97")
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass  # the bridge goes down with the office
    finally:
        try:
            office.wait(timeout=30)
        except subprocess.TimeoutExpired:
            office.kill()
            office.wait()


def main():
    source = os.path.join(HERE, "handgemacht-titel.csv")
    write_source(source)
    profile = tempfile.mkdtemp(prefix="zor-lo-")
    try:
        convert(source, profile)
        decorated(source, profile)
    finally:
        shutil.rmtree(profile, ignore_errors=True)


main()
