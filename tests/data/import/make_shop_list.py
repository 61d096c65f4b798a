#!/usr/bin/python3
"""Writes shop-list.csv into this folder: a GBK product list of 20 rows under a header line,
as a shop's till or spreadsheet exports it (comma-separated, CR LF line ends). The output
is the same on every run.

    /usr/bin/python3 tests/data/import/make_shop_list.py [OUT.csv]"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

HEADER = ["品名", "规格", "单位", "产地", "原价", "售价"]
NAMES = ["红富士苹果", "香蕉", "鸭梨", "脐橙", "猕猴桃", "葡萄", "草莓", "西瓜", "哈密瓜", "柚子",
         "纯牛奶", "酸奶", "鸡蛋", "大米", "面粉", "花生油", "酱油", "香醋", "白糖", "食盐"]
SIZES = ["500g", "1kg", "105g", "250ml", "5kg"]
UNITS = ["袋", "盒", "瓶", "个", "箱"]
PLACES = ["天津", "山东", "新疆", "云南", "河北"]


def rows():
    for i, name in enumerate(NAMES):
        old = 3 + i * 1.25
        now = old * 0.8
        yield [name, SIZES[i % 5], UNITS[i % 5], PLACES[i % 5], "%.2f" % old, "%.2f" % now]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "shop-list.csv")
    lines = [",".join(HEADER)] + [",".join(row) for row in rows()]
    with open(out, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("gbk"))


if __name__ == "__main__":
    main()
