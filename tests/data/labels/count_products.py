#!/usr/bin/python3
"""Counts the label products a catalogue folder describes validly, the program's reader aside.

A product counts when it has a brand and a part, and either its own label (every length
readable: a number, with or without decimals or an exponent, and a unit of pt, in, mm, cm
or pc or none; a size above 0; a layout of at least one column and row; a paper that
paper-sizes.xml names, or a size of its own) or the same brand's product it is sold as.
Prints the count of distinct "brand part" names.
"""
import glob
import os
import re
import sys
import xml.etree.ElementTree as ET

POINTS_PER_UNIT = {'': 1, 'pt': 1, 'in': 72, 'mm': 72 / 25.4, 'cm': 72 / 2.54, 'pc': 12}
NUMBER = re.compile(r'^\s*([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?\s*([a-z]*)\s*$')
SHAPES = ('Label-rectangle', 'Label-round', 'Label-ellipse', 'Label-cd')


def points(text):
    if text is None or not text.strip():
        return 0.0
    m = NUMBER.match(text)
    if not m or m.group(3) not in POINTS_PER_UNIT:
        raise ValueError(text)
    return float(m.group(1) + (m.group(2) or '')) * POINTS_PER_UNIT[m.group(3)]


def local(element):
    """The element's name without its namespace (some files declare one)."""
    return element.tag.rsplit('}', 1)[-1]


def of_name(root, name):
    return [element for element in root.iter() if local(element) == name]


def words(text):
    return ' '.join((text or '').split())


def label_is_valid(template, label, papers):
    if label.tag in ('Label-rectangle', 'Label-ellipse'):
        width, height = points(label.get('width')), points(label.get('height'))
        points(label.get('round'))
    else:
        diameter = 2 * points(label.get('radius'))
        points(label.get('hole'))
        width = points(label.get('width')) or diameter
        height = points(label.get('height')) or diameter
    layouts = 0
    for layout in of_name(label, 'Layout'):
        for name in ('x0', 'y0', 'dx', 'dy'):
            points(layout.get(name))
        if int(layout.get('nx') or 0) > 0 and int(layout.get('ny') or 0) > 0:
            layouts += 1
    if template.get('size') == 'Other':
        paper = (points(template.get('width')), points(template.get('height')))
    else:
        paper = papers.get(template.get('size'), (0, 0))
    return width > 0 and height > 0 and layouts > 0 and min(paper) > 0


def main(folder):
    papers = {}
    for paper in of_name(ET.parse(os.path.join(folder, 'paper-sizes.xml')).getroot(), 'Paper-size'):
        try:
            papers[paper.get('id')] = (points(paper.get('width')), points(paper.get('height')))
        except ValueError:
            pass
    valid, equivalents = set(), []
    for path in sorted(glob.glob(os.path.join(folder, '*.xml'))):
        if os.path.basename(path) == 'paper-sizes.xml':
            continue
        for template in of_name(ET.parse(path).getroot(), 'Template'):
            brand, part = words(template.get('brand')), words(template.get('part'))
            if not brand or not part:
                continue
            name = (brand + ' ' + part).lower()
            labels = [child for child in template if local(child) in SHAPES]
            if labels:
                try:
                    if label_is_valid(template, labels[0], papers):
                        valid.add(name)
                except ValueError:
                    pass
            elif template.get('equiv'):
                equivalents.append((name, (brand + ' ' + words(template.get('equiv'))).lower()))
    grown = True
    while grown:
        grown = False
        for name, source in equivalents:
            if name not in valid and source in valid:
                valid.add(name)
                grown = True
    print(len(valid))


main(sys.argv[1])
