// Reading back what the workbench hands the user: CSV as a spreadsheet program parses
// it, workbooks as Debian's openpyxl opens them, in scratch folders removed after the
// test.

import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

export function scratchFolder(t, prefix = 'orvale-files-') {
  const folder = mkdtempSync(path.join(tmpdir(), prefix));
  t.after(() => rmSync(folder, { recursive: true, force: true }));
  return folder;
}

// Runs a Python script with Debian's python3, which has openpyxl (the PATH python3
// may be one without it).
export function python(script, ...args) {
  return execFileSync('/usr/bin/python3', ['-c', script, ...args], { encoding: 'utf8' });
}

// Every cell of the first sheet of a workbook, as openpyxl reads it.
export function workbookRows(file) {
  const script = [
    'import json, sys, openpyxl',
    'book = openpyxl.load_workbook(sys.argv[1], read_only=True)',
    'print(json.dumps([list(r) for r in book.worksheets[0].iter_rows(values_only=True)], default=str))',
  ].join('\n');
  return JSON.parse(python(script, file));
}

// RFC 4180 records: quoted fields, doubled quotes, CRLF or LF line ends.
export function csvRows(text) {
  const rows = [];
  let row = [];
  let cell = '';
  let quoted = false;
  for (let i = 0; i < text.length; i++) {
    const c = text[i];
    if (quoted) {
      if (c === '"' && text[i + 1] === '"') {
        cell += '"';
        i++;
      } else if (c === '"') quoted = false;
      else cell += c;
    } else if (c === '"') quoted = true;
    else if (c === ',') {
      row.push(cell);
      cell = '';
    } else if (c === '\n' || c === '\r') {
      if (c === '\r' && text[i + 1] === '\n') i++;
      row.push(cell);
      rows.push(row);
      row = [];
      cell = '';
    } else cell += c;
  }
  if (cell || row.length) rows.push([...row, cell]);
  return rows;
}
