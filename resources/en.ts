<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>MainWindow</name>
    <message>
        <source>About ZEFA GCS</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
