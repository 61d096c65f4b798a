#!/usr/bin/python3
"""Writes a till's product list as a shop exports it: GBK CSV with the header
条码,品名,规格,单位,产地,原价,售价 and valid EAN-13 codes, some names long.

    make_till_list.py OUT.csv [COUNT]   (COUNT defaults to 500)

The list is the same on every run: the generator is seeded.
"""
import random
import sys

NAMES = [
    ("红富士苹果", "500g", "个", "山东烟台"), ("香蕉", "1kg", "把", "海南"),
    ("纯牛奶", "250ml×12", "箱", "内蒙古呼和浩特"), ("鸡蛋", "30枚", "盒", "河北"),
    ("五常大米", "5kg", "袋", "黑龙江五常"), ("花生油", "5L", "桶", "山东"),
    ("酱油", "500ml", "瓶", "广东佛山"), ("陈醋", "420ml", "瓶", "山西清徐"),
    ("挂面", "1kg", "包", "河南"), ("速冻水饺", "1kg", "袋", "河南郑州"),
    ("矿泉水", "550ml", "瓶", "浙江"), ("可乐", "330ml", "罐", "上海"),
    ("洗衣液", "2kg", "瓶", "广州"), ("牙膏", "120g", "支", "江苏扬州"),
    ("卷纸", "10卷", "提", "福建"), ("绿茶", "250g", "盒", "浙江杭州"),
    ("饼干", "200g", "盒", "上海"), ("薯片", "70g", "袋", "天津"),
    ("酸奶", "100g×8", "组", "北京"), ("面包", "400g", "袋", "江苏南京"),
]
LONG = [
    ("特级新疆阿克苏冰糖心红富士苹果（大果）", "约5kg礼盒装", "盒", "新疆维吾尔自治区阿克苏地区"),
    ("进口智利车厘子JJ级精选礼盒装", "2.5kg", "盒", "智利"),
    ("东北黑龙江五常稻花香有机大米真空包装", "10kg", "袋", "黑龙江省哈尔滨市五常市"),
    ("德国进口全脂纯牛奶高钙营养早餐奶", "200ml×24盒", "箱", "德国"),
    ("农家散养土鸡蛋新鲜柴鸡蛋草鸡蛋", "40枚装", "箱", "湖北恩施土家族苗族自治州"),
]
PREFIXES = ["690", "691", "692", "693", "694", "695"]


def ean13(rng):
    digits = rng.choice(PREFIXES) + "".join(rng.choice("0123456789") for _ in range(9))
    total = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(digits))
    return digits + str((10 - total % 10) % 10)


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 500
    rng = random.Random(20240501)
    seen = set()
    rows = ["条码,品名,规格,单位,产地,原价,售价"]
    for n in range(count):
        name, size, unit, origin = LONG[n % len(LONG)] if n % 7 == 3 else NAMES[n % len(NAMES)]
        if n >= len(NAMES):
            name = f"{name}{n // len(NAMES)}号"
        code = ean13(rng)
        while code in seen:
            code = ean13(rng)
        seen.add(code)
        price = rng.choice([1.5, 2.8, 3.5, 5.9, 9.9, 12.5, 19.8, 29.9, 59.0, 128.0, 1299.0])
        old = round(price * rng.choice([1.0, 1.2, 1.5]), 1)
        rows.append(f"{code},{name},{size},{unit},{origin},{old:.2f},{price:.2f}")
    with open(out, "wb") as f:
        f.write(("\r\n".join(rows) + "\r\n").encode("gbk"))


if __name__ == "__main__":
    main()
