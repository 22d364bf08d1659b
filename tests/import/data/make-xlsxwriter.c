/* Writes the member list of members.py with libxlsxwriter: once as it
 * usually does (shared strings), once in its constant-memory mode (inline
 * strings, rows written one by one). The files are checked in.
 *   apt-get install libxlsxwriter-dev
 *   cc make-xlsxwriter.c -o /tmp/make-xlsxwriter -lxlsxwriter && /tmp/make-xlsxwriter
 */
#include <xlsxwriter.h>

struct member {
    const char *surname, *first, *sex;
    int y, m, d;          /* 0: no date cell */
    const char *dateText; /* a date typed as text */
    int grade;            /* 0: none */
    const char *gradeText;
};

static const struct member members[] = {
    {"M\xc3\xbcller", "J\xc3\xbcrgen", "m", 1960, 3, 15, 0, 3, 0},
    {"Sch\xc3\xa4" "fer", "Anna", "w", 2020, 1, 1, 0, 0, 0},
    {"Klein", "Tom", "m", 2020, 1, 2, 0, 0, 0},
    {"Gro\xc3\x9f", "Lena", "weiblich", 2008, 2, 29, 0, 0, "1. Dan"},
    {"Wei\xc3\x9f", "Max", "m\xc3\xa4nnlich", 2000, 12, 31, 0, 0, 0},
    {"\xc3\x96zt\xc3\xbcrk", "Ay\xc5\x9f" "e", "Frau", 1986, 6, 30, 0, 2, 0},
    {"Becker", "Paul", "Herr", 1966, 1, 1, 0, 0, 0},
    {"Wagner", "Kim", "divers", 1990, 5, 5, 0, 0, 0},
    {"Hoffmann", "Eva", "", 1985, 7, 7, 0, 0, 0},
    {"Zimmer", "Udo", "m", 0, 0, 0, 0, 0, 0},
    {"Neu", "Baby", "w", 2027, 3, 1, 0, 0, 0},
    {"Schmidt", "Karl", "m", 1950, 12, 31, 0, 0, "5. Kyu"},
    {"Fischer", "Ida", "f", 1980, 1, 1, 0, 10, 0},
    {"Koch", "Jan", "m", 0, 0, 0, "31.12.1986", 0, 0},
};

static int write(const char *name, int constantMemory)
{
    lxw_workbook_options options = {.constant_memory = constantMemory, .tmpdir = 0};
    lxw_workbook *wb = workbook_new_opt(name, &options);
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Mitglieder");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "dd.mm.yyyy");
    const char *header[] = {"Nachname", "Vorname", "Geschlecht", "Geburtsdatum", "Dan"};
    for (int c = 0; c < 5; ++c)
        worksheet_write_string(ws, 0, c, header[c], 0);
    for (unsigned i = 0; i < sizeof members / sizeof members[0]; ++i) {
        const struct member *m = &members[i];
        const lxw_row_t r = i + 1;
        worksheet_write_string(ws, r, 0, m->surname, 0);
        worksheet_write_string(ws, r, 1, m->first, 0);
        if (*m->sex)
            worksheet_write_string(ws, r, 2, m->sex, 0);
        if (m->y) {
            lxw_datetime dt = {m->y, m->m, m->d, 0, 0, 0};
            worksheet_write_datetime(ws, r, 3, &dt, date);
        } else if (m->dateText) {
            worksheet_write_string(ws, r, 3, m->dateText, 0);
        }
        if (m->grade)
            worksheet_write_number(ws, r, 4, m->grade, 0);
        else if (m->gradeText)
            worksheet_write_string(ws, r, 4, m->gradeText, 0);
    }
    return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}

int main(void)
{
    return write("xlsxwriter.xlsx", 0) | write("xlsxwriter-constant-memory.xlsx", 1);
}
