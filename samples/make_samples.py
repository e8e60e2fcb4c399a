#!/usr/bin/env python3
"""Writes the sample pair before.txt / after.txt in Shift_JIS (code page 932).

Each line is given with its own line end, so the pair shows CR LF, LF and a lone CR.
Run again after editing: python3 samples/make_samples.py
"""
from pathlib import Path

CRLF, LF, CR = "\r\n", "\n", "\r"

BEFORE = [
    ("# 定例会議メモ（第12回）", CRLF),
    ("日時：2024年5月14日（火）10:00〜11:30", CRLF),
    ("場所：本社３階　第２会議室", CRLF),
    ("出席：田中、佐藤、鈴木、高橋", CRLF),
    ("", CRLF),
    ("## 1. 前回の確認事項", CRLF),
    ("・見積書の提出は完了した。", CRLF),
    ("・サーバー移行の日程は未定。", CRLF),
    ("・新人研修の資料は佐藤さんが作成中。", CRLF),
    ("", CRLF),
    ("## 2. 進捗報告", CRLF),
    ("項目\t担当\t状況", CRLF),
    ("画面設計\t田中\t80%", CRLF),
    ("データ移行\t鈴木\t40%", CRLF),
    ("テスト計画\t高橋\t未着手", CRLF),
    ("", CRLF),
    ("## 3. 課題", CRLF),
    ("・旧システムの文字コードがEUC-JPのまま残っている。", LF),
    ("・ログの保存期間が決まっていない。", LF),
    ("・　全角スペースで字下げした行は比較で注意が必要。", CRLF),
    ("", CRLF),
    ("## 4. 決定事項", CRLF),
    ("・次回の会議は５月２８日とする。", CRLF),
    ("・議事録は会議の翌日までに共有する。", CRLF),
    ("", CRLF),
    ("## 5. 連絡事項", CRLF),
    ("・来週は設備点検のため、１５時以降は空調が止まります。", CRLF),
    ("・駐車場の利用申請は総務まで。", CR),
    ("", CRLF),
    ("## 6. 宿題", CRLF),
    ("・田中：画面一覧の更新", CRLF),
    ("・鈴木：移行手順書の初版", CRLF),
    ("・高橋：テスト環境の手配", CRLF),
    ("", CRLF),
    ("以上", CRLF),
]

AFTER = [
    ("# 定例会議メモ（第12回）", CRLF),
    ("日時：2024年5月14日（火）10:00〜12:00", CRLF),
    ("場所：本社３階　第２会議室", CRLF),
    ("出席：田中、佐藤、鈴木、高橋、伊藤", CRLF),
    ("", CRLF),
    ("## 1. 前回の確認事項", CRLF),
    ("・見積書の提出は完了した。", CRLF),
    ("・サーバー移行は６月第２週に決定。", CRLF),
    ("・新人研修の資料は佐藤さんが作成中。", CRLF),
    ("", CRLF),
    ("## 5. 連絡事項", CRLF),
    ("・来週は設備点検のため、１５時以降は空調が止まります。", CRLF),
    ("・駐車場の利用申請は総務まで。", CRLF),
    ("", CRLF),
    ("## 2. 進捗報告", CRLF),
    ("項目\t担当\t状況", CRLF),
    ("画面設計\t田中\t完了", CRLF),
    ("データ移行\t鈴木\t40%", CRLF),
    ("テスト計画\t高橋\t30%", CRLF),
    ("性能測定\t伊藤\t未着手", CRLF),
    ("", CRLF),
    ("## 3. 課題", CRLF),
    ("・旧システムの文字コードがEUC-JPのまま残っている。", LF),
    ("・ログの保存期間は１年とする案を検討中。", LF),
    ("・　全角スペースで字下げした行は比較で注意が必要。", CRLF),
    ("", CRLF),
    ("## 4. 決定事項", CRLF),
    ("・次回の会議は５月２８日とする。", CRLF),
    ("・議事録は会議の翌日までに共有する。", CRLF),
    ("・資料は共有フォルダの「会議」に置く。", CRLF),
    ("", CRLF),
    ("## 6. 宿題", CRLF),
    ("・田中：画面一覧の更新", CRLF),
    ("・鈴木：移行手順書の初版", CRLF),
    ("・伊藤：性能測定の計画", CRLF),
    ("", CRLF),
    ("以上", CRLF),
]


def write(name, lines):
    data = "".join(text + end for text, end in lines).encode("cp932")
    (Path(__file__).resolve().parent / name).write_bytes(data)


write("before.txt", BEFORE)
write("after.txt", AFTER)
