#!/usr/bin/python3
"""Writes the demo workbook: one worksheet of client records laid out as the
updater expects (client code in column R, e-mail address in column AT, 46
columns), plus a second, unrelated worksheet.

    make-demo.py OUT.xlsx ROWS
"""
import random
import sys

from openpyxl import Workbook

FIRST = ["Ana", "Bruno", "Carla", "Diego", "Elisa", "Fábio", "Gisele", "Hugo", "Íris", "João",
         "Karina", "Luís", "Marta", "Nélson", "Olívia", "Paulo", "Quitéria", "Rafael", "Sônia",
         "Tiago"]
LAST = ["Silva", "Souza", "Oliveira", "Santos", "Pereira", "Lima", "Carvalho", "Gomes",
        "Ribeiro", "Almeida", "Araújo", "Conceição"]
DOMAINS = ["exemplo.com.br", "correio.com.br", "empresa.ind.br", "mail.net"]
CITIES = ["São Paulo", "Curitiba", "Belo Horizonte", "Recife", "Porto Alegre", "Goiânia"]


def plain(text):
    table = str.maketrans("áàâãéêíóôõúçÁÉÍÓÚÇ", "aaaaeeiooouc" + "AEIOUC")
    return text.translate(table).lower()


def main():
    out, rows = sys.argv[1], int(sys.argv[2])
    rnd = random.Random(7)
    wb = Workbook()
    ws = wb.active
    ws.title = "Clientes"
    for r in range(1, rows + 1):
        first, last = rnd.choice(FIRST), rnd.choice(LAST)
        code = r  # numbers, as a spreadsheet holds them: the updater zero-fills
        record = [None] * 46
        record[0] = f"{first} {last}"
        record[1] = rnd.choice(CITIES)
        record[2] = f"({rnd.randint(11, 99)}) 9{rnd.randint(1000, 9999)}-{rnd.randint(1000, 9999)}"
        for c in range(3, 17):
            record[c] = rnd.choice([None, rnd.randint(1, 999), f"obs {rnd.randint(1, 99)}"])
        record[17] = code
        for c in range(18, 45):
            record[c] = rnd.choice([None, rnd.randint(1, 99999) / 100])
        record[45] = f"{plain(first)}.{plain(last)}{r}@{rnd.choice(DOMAINS)}"
        ws.append(record)
    other = wb.create_sheet("Resumo")
    other.append(["Clientes", rows])
    wb.save(out)


if __name__ == "__main__":
    main()
