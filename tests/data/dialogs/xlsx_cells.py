"""Prints the first sheet of an .xlsx workbook as the tests check it, read with
nothing but the zip and XML readers of Python's standard library: the sheet's name,
then per cell "<ref>|<type>|<value>|<number format>" (type s for text, n for number)."""
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}

with zipfile.ZipFile(sys.argv[1]) as book:
    workbook = ET.fromstring(book.read("xl/workbook.xml"))
    print(workbook.find("m:sheets/m:sheet", NS).get("name"))
    strings = []
    if "xl/sharedStrings.xml" in book.namelist():
        for item in ET.fromstring(book.read("xl/sharedStrings.xml")).findall("m:si", NS):
            strings.append("".join(t.text or "" for t in item.iter("{%s}t" % NS["m"])))
    styles = ET.fromstring(book.read("xl/styles.xml"))
    codes = {f.get("numFmtId"): f.get("formatCode") for f in styles.findall("m:numFmts/m:numFmt", NS)}
    xfs = styles.findall("m:cellXfs/m:xf", NS)
    sheet = ET.fromstring(book.read("xl/worksheets/sheet1.xml"))
    for cell in sheet.iter("{%s}c" % NS["m"]):
        value = cell.find("m:v", NS).text
        kind = cell.get("t", "n")
        code = codes.get(xfs[int(cell.get("s", "0"))].get("numFmtId"), "")
        if kind == "s":
            value = strings[int(value)].replace("\n", "\\n")
        print("%s|%s|%s|%s" % (cell.get("r"), kind, value, code))
