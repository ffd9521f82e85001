#!/usr/bin/python3
"""Reads a .docx with python-docx and the standard zip and XML modules and
prints what a test needs to know about it as JSON: package problems (parts
that do not parse, relationship targets or content types that are missing),
then the body in order, paragraph by paragraph and table by table."""
import json
import posixpath
import sys
import zipfile
from xml.etree import ElementTree

import docx
from docx.oxml.ns import qn
from docx.table import Table
from docx.text.paragraph import Paragraph


def package_problems(path):
    problems = []
    archive = zipfile.ZipFile(path)
    names = set(archive.namelist())
    for name in sorted(names):
        if name.endswith(('.xml', '.rels')):
            try:
                ElementTree.fromstring(archive.read(name))
            except ElementTree.ParseError as error:
                problems.append('%s does not parse: %s' % (name, error))
    for name in sorted(n for n in names if n.endswith('.rels')):
        base = posixpath.dirname(posixpath.dirname(name))
        for rel in ElementTree.fromstring(archive.read(name)):
            if rel.get('TargetMode') == 'External':
                continue
            target = posixpath.normpath(posixpath.join(base, rel.get('Target')))
            if target not in names:
                problems.append('%s: target %s is missing' % (name, target))
    types = ElementTree.fromstring(archive.read('[Content_Types].xml'))
    defaults = {e.get('Extension').lower() for e in types if e.tag.endswith('Default')}
    overrides = {e.get('PartName') for e in types if e.tag.endswith('Override')}
    for name in sorted(names - {'[Content_Types].xml'}):
        if '/' + name not in overrides and name.rsplit('.', 1)[-1].lower() not in defaults:
            problems.append('%s has no content type' % name)
    for part in overrides:
        if part.lstrip('/') not in names:
            problems.append('content type for missing part %s' % part)
    return problems


def text_of(run):
    """The run's text; a page break is not text (python-docx would give it as a line break)."""
    pieces = []
    for child in run._r.iterchildren():
        if child.tag == qn('w:t'):
            pieces.append(child.text or '')
        elif child.tag == qn('w:tab'):
            pieces.append('\t')
        elif child.tag == qn('w:br') and child.get(qn('w:type')) != 'page':
            pieces.append('\n')
    return ''.join(pieces)


def run_of(run, part):
    fonts = run._r.rPr.rFonts if run._r.rPr is not None else None
    pictures = []
    for blip in run._r.xpath('.//a:blip'):
        image = part.related_parts[blip.get(qn('r:embed'))]
        pictures.append({'content_type': image.content_type, 'bytes': len(image.blob),
                         'png': image.blob.startswith(b'\x89PNG'), 'jpeg': image.blob.startswith(b'\xff\xd8')})
    for extent in run._r.xpath('.//wp:extent'):
        pictures[-1]['cx'] = int(extent.get('cx'))
        pictures[-1]['cy'] = int(extent.get('cy'))
    return {
        'text': text_of(run),
        'bold': bool(run.bold), 'italic': bool(run.italic), 'underline': bool(run.underline),
        'size': run.font.size.pt if run.font.size is not None else None,
        'color': str(run.font.color.rgb) if run.font.color.type is not None else None,
        'font': run.font.name,
        'east_asia': fonts.get(qn('w:eastAsia')) if fonts is not None else None,
        'page_break': bool(run._r.xpath('./w:br[@w:type="page"]')),
        'pictures': pictures,
    }


def paragraph_of(paragraph, part):
    before = paragraph.paragraph_format.space_before
    return {'text': ''.join(text_of(r) for r in paragraph.runs),
            'align': str(paragraph.alignment) if paragraph.alignment is not None else None,
            'space_before': before.pt if before is not None else 0,
            'runs': [run_of(r, part) for r in paragraph.runs]}


def main(path):
    document = docx.Document(path)
    part = document.part
    body = []
    for child in document.element.body.iterchildren():
        if child.tag == qn('w:p'):
            body.append({'paragraph': paragraph_of(Paragraph(child, document), part)})
        elif child.tag == qn('w:tbl'):
            table = Table(child, document)
            body.append({'table': [[[paragraph_of(p, part) for p in cell.paragraphs] for cell in row.cells]
                                   for row in table.rows]})
    fonts = ElementTree.fromstring(zipfile.ZipFile(path).read('word/fontTable.xml'))
    w = '{http://schemas.openxmlformats.org/wordprocessingml/2006/main}'
    font_table = {}
    for font in fonts:
        alt = font.find(w + 'altName')
        font_table[font.get(w + 'name')] = alt.get(w + 'val') if alt is not None else ''
    json.dump({'problems': package_problems(path), 'title': document.core_properties.title,
               'inline_shapes': len(document.inline_shapes), 'fonts': font_table, 'body': body},
              sys.stdout, ensure_ascii=False)


if __name__ == '__main__':
    main(sys.argv[1])
