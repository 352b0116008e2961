-- News columns and their type ids (the ids the client's column list sends).
INSERT INTO news_column(typeid, name) VALUES
 (2000, '头条'), (2044, '推荐'), (189, '国考'), (1826, '行测'), (1827, '申论'), (1828, '面试'), (2001, '时政'),
 (1831, '北京'), (1839, '天津'), (1883, '上海'), (1899, '重庆'), (1858, '河北'), (1845, '辽宁'), (1857, '吉林'),
 (1864, '黑龙江'), (1855, '江苏'), (1851, '浙江'), (1854, '安徽'), (1877, '福建'), (1893, '江西'), (1840, '山东'),
 (1842, '山西'), (1852, '河南'), (1890, '湖北'), (1867, '湖南'), (1884, '西藏'), (1897, '宁夏'), (1868, '新疆'),
 (1892, '内蒙古'), (1843, '广西'), (1873, '青海'), (1882, '甘肃'), (1874, '陕西'), (1865, '云南'), (1870, '贵州'),
 (1887, '四川'), (1879, '海南');

-- Ages by position in a column (1 = newest), so that every kind of time text occurs:
-- 刚刚, minutes, hours, days, weeks and absolute dates.
CREATE TEMP TABLE rank_age(rank INTEGER PRIMARY KEY, age INTEGER);
INSERT INTO rank_age VALUES
 (1, 35), (2, 1260), (3, 10800), (4, 32400), (5, 93600), (6, 190800), (7, 280800), (8, 453600),
 (9, 698400), (10, 1022400), (11, 1378800), (12, 1731600), (13, 2268000), (14, 2851200), (15, 3456000),
 (16, 3974400), (17, 4579200), (18, 5184000), (19, 5875200), (20, 6480000), (21, 7171200), (22, 7862400),
 (23, 8553600), (24, 9244800), (25, 9936000), (26, 10627200);

-- Articles are written as drafts (title, summary, own body or none); a draft without a body of its
-- own gets its summary followed by the column's study note.
CREATE TEMP TABLE draft(id INTEGER PRIMARY KEY, typeid INTEGER, title TEXT, description TEXT, body TEXT, litpic TEXT DEFAULT '', writer TEXT DEFAULT '青岚网校资讯中心');
CREATE TEMP TABLE column_note(typeid INTEGER, variant INTEGER, html TEXT);
