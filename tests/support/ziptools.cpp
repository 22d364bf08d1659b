#include "tests/support/ziptools.h"

#include <QBuffer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace zortest {

QByteArray zipOf(const QList<QPair<QString, QByteArray>> &parts, const char *password)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        qFatal("cannot create a zip");
    for (const auto &[name, data] : parts) {
        QuaZipFile file(&zip);
        const QuaZipNewInfo info(name);
        const bool opened = password ? file.open(QIODevice::WriteOnly, info, password, 0)
                                     : file.open(QIODevice::WriteOnly, info);
        if (!opened || file.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(name));
        file.close();
    }
    zip.close();
    return bytes;
}

QList<QPair<QString, QByteArray>> workbookParts(const QByteArray &sheetData,
                                                const QByteArray &sharedStrings)
{
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    return {
            {QStringLiteral("_rels/.rels"),
             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" Type=\""
                     + rel
                     + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                       "</Relationships>"},
            {QStringLiteral("xl/workbook.xml"),
             "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
             "xmlns:r=\""
                     + rel
                     + "\"><sheets><sheet name=\"Liste\" sheetId=\"1\" r:id=\"rId1\"/>"
                       "</sheets></workbook>"},
            {QStringLiteral("xl/_rels/workbook.xml.rels"),
             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" Type=\""
                     + rel
                     + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                       "<Relationship Id=\"rId2\" Type=\""
                     + rel
                     + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                       "<Relationship Id=\"rId3\" Type=\""
                     + rel
                     + "/styles\" Target=\"styles.xml\"/>"
                       "</Relationships>"},
            {QStringLiteral("xl/styles.xml"),
             "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
             "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"[$-407]DD.MM.YYYY\"/></numFmts>"
             "<cellXfs count=\"3\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/></cellXfs>"
             "</styleSheet>"},
            {QStringLiteral("xl/sharedStrings.xml"),
             "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                     + sharedStrings + "</sst>"},
            {QStringLiteral("xl/worksheets/sheet1.xml"),
             "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
                     + sheetData + "</sheetData></worksheet>"},
    };
}

} // namespace zortest
