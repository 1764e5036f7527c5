<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>PowerStatus</name>
    <message>
        <source>もう使われていない文言</source>
        <translation>A text no longer used</translation>
    </message>
</context>
</TS>
