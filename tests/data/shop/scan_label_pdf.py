#!/usr/bin/python3
"""Checks a PDF of tags on Avery L7160 sheets by hand: crops every label of every page
and scans it alone (zbarimg); each code must scan in the label it belongs to, from label
START on, row by row, and a label without a product must hold none.

    pdftoppm -r 300 -png TAGS.pdf pg && scan_label_pdf.py LIST.csv [START]

LIST.csv is the till's list (make_till_list.py) the tags were made from.
"""
import csv, glob, os, re, subprocess, sys
LIST = sys.argv[1] if len(sys.argv) > 1 else 'till500.csv'
START = int(sys.argv[2]) if len(sys.argv) > 2 else 8
PT = 25.4 / 72
X0, Y0, DX, DY, W, H = 21.2*PT, 43.9*PT, 187.2*PT, 108.0*PT, 181.4*PT, 108.0*PT  # Avery L7160, mm
px = lambda mm: int(round(mm * 300 / 25.4))
codes = [row['条码'] for row in csv.DictReader(open(LIST, encoding='gbk'))]
ok = wrong = 0
os.makedirs('crops', exist_ok=True)
for page in sorted(glob.glob('pg-*.png')):
    n = int(re.search(r'pg-(\d+)', page).group(1))
    for slot in range(21):
        row, col = divmod(slot, 3)
        index = (n - 1) * 21 + slot + 1 - START
        crop = f'crops/{n:02d}-{slot:02d}.png'
        subprocess.run(['convert', page, '-crop', f'{px(W)}x{px(H)}+{px(X0 + col*DX)}+{px(Y0 + row*DY)}', '+repage', crop], check=True)
        got = subprocess.run(['zbarimg', '--raw', '-q', crop], capture_output=True, text=True).stdout.split()
        want = [codes[index]] if 0 <= index < len(codes) else []
        if got == want:
            ok += 1 if want else 0
        else:
            wrong += 1
            print('label', n, slot + 1, 'wants', want, 'scanned', got)
print(f'{ok} of {len(codes)} codes scanned, each alone in its own label; {wrong} labels wrong')
