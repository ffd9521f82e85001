#!/usr/bin/python3
"""Writes paper.docx, a question paper laid out the way teachers write them in
Word, for test_import_office. Made with Debian's python3-docx, which writes
packages as Word does (styles, settings, runs split by format).
Run: /usr/bin/python3 tests/data/import/make_fixtures.py"""
import os
import struct
import zlib

from docx import Document
from docx.shared import Pt, RGBColor

HERE = os.path.dirname(os.path.abspath(__file__))


def png(width, height, rgb):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    rows = b''.join(b'\x00' + bytes(rgb) * width for _ in range(height))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


doc = Document()
doc.add_heading('2024年造价工程师模拟试卷（一）', 0)
doc.add_paragraph('一、单项选择题（共2题，每题1分。每题的备选项中，只有1个最符合题意）')

p = doc.add_paragraph('1．某工程混凝土用量为120m')
p.add_run('3').font.superscript = True
p.add_run('，其中')
p.add_run('C30').bold = True
p.add_run('混凝土占（　　）。')
doc.add_paragraph('A．40%\tB．50%')
doc.add_paragraph('C．60%\tD．70%')
doc.add_paragraph('【答案】C')
p = doc.add_paragraph('【解析】')
p.add_run('见教材第三章').italic = True

doc.add_paragraph('2．如图所示，该构件的名称是（　）。')
picture = os.path.join(HERE, 'red.png')
with open(picture, 'wb') as f:
    f.write(png(16, 8, (200, 0, 0)))
doc.add_paragraph().add_run().add_picture(picture)
os.remove(picture)
for option in ('A．梁', 'B．板', 'C．柱', 'D．墙'):
    doc.add_paragraph(option)
doc.add_paragraph('答案：A')

doc.add_paragraph('二、多项选择题（共1题，每题2分）')
p = doc.add_paragraph('3．下列属于')
red = p.add_run('措施项目')
red.font.color.rgb = RGBColor(0xFF, 0, 0)
p.add_run('的有（　　）。')
for option in ('A．脚手架', 'B．模板', 'C．钢筋', 'D．垂直运输', 'E．混凝土'):
    doc.add_paragraph(option)
doc.add_paragraph('答案：ABD')

doc.add_paragraph('三、判断题')
doc.add_paragraph('4．暂列金额应由投标人自主确定。（　）')
doc.add_paragraph('5．招标控制价应在招标文件中公布。（　）')

doc.add_paragraph('参考答案')
table = doc.add_table(rows=2, cols=3)
for column, (number, key) in enumerate((('题号', '答案'), ('4', '×'), ('5', '√'))):
    table.cell(0, column).text = number
    table.cell(1, column).text = key

for paragraph in doc.paragraphs:
    for run in paragraph.runs:
        run.font.size = Pt(12)
doc.save(os.path.join(HERE, 'paper.docx'))
