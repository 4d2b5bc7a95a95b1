<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <source>ZEFA R7 series of flight controller assistant software</source>
        <translation>ZEFA R7 系列飞控调参助手</translation>
    </message>
    <message>
        <source>About ZEFA GCS</source>
        <translation>关于 ZEFA GCS</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>机架</translation>
    </message>
</context>
</TS>
