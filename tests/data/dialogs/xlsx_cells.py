"""Prints the first sheet of an .xlsx workbook as a spreadsheet program sees it,
opened with openpyxl: the sheet's name, then per cell
"<ref>|<type>|<value>|<number format>" (type s for text, n for number; the number
format only for numbers)."""
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
print(sheet.title)
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is None:
            continue
        if cell.data_type == "s":
            print("%s|s|%s|" % (cell.coordinate, cell.value.replace("\n", "\\n")))
        else:
            print("%s|%s|%r|%s" % (cell.coordinate, cell.data_type, cell.value, cell.number_format))
