-- The mall catalogue. The client's prepared catalogue database lists exactly these ids:
--   level 1 (table QLCourseCategory): id = CategoryId, next_table = the level-2 table (15 characters)
--   level 2 (the table named by next_table): id = ProvinceId
--   level 3 is fixed in the client: 全部 "0", 笔试 "1", 面试 "2".
INSERT INTO category(id, name, sendname, next_table) VALUES
 (1, '国考', 'guokao', 'QLCourseCate_01'),
 (2, '省考', 'shengkao', 'QLCourseCate_02'),
 (3, '事业单位', 'shiye', 'QLCourseCate_03'),
 (4, '选调生', 'xuandiao', 'QLCourseCate_04'),
 (5, '政法干警', 'zhengfa', 'QLCourseCate_05'),
 (6, '军队文职', 'junwen', 'QLCourseCate_06'),
 (7, '公安招警', 'zhaojing', 'QLCourseCate_07');

-- Provinces carry their administrative division codes; 100 is the nationwide entry.
CREATE TEMP TABLE province(id INTEGER PRIMARY KEY, name TEXT, sendname TEXT);
INSERT INTO province VALUES
 (11, '北京', 'beijing'), (12, '天津', 'tianjin'), (13, '河北', 'hebei'), (14, '山西', 'shanxi'),
 (15, '内蒙古', 'neimenggu'), (21, '辽宁', 'liaoning'), (22, '吉林', 'jilin'), (23, '黑龙江', 'heilongjiang'),
 (31, '上海', 'shanghai'), (32, '江苏', 'jiangsu'), (33, '浙江', 'zhejiang'), (34, '安徽', 'anhui'),
 (35, '福建', 'fujian'), (36, '江西', 'jiangxi'), (37, '山东', 'shandong'), (41, '河南', 'henan'),
 (42, '湖北', 'hubei'), (43, '湖南', 'hunan'), (44, '广东', 'guangdong'), (45, '广西', 'guangxi'),
 (46, '海南', 'hainan'), (50, '重庆', 'chongqing'), (51, '四川', 'sichuan'), (52, '贵州', 'guizhou'),
 (53, '云南', 'yunnan'), (54, '西藏', 'xizang'), (61, '陕西', 'shaanxi'), (62, '甘肃', 'gansu'),
 (63, '青海', 'qinghai'), (64, '宁夏', 'ningxia'), (65, '新疆', 'xinjiang');

INSERT INTO region(category_id, id, seq, name, sendname) VALUES
 (1, 100, 1, '全国', 'quanguo'), (1, 101, 2, '中央机关', 'zhongyang'), (1, 102, 3, '税务系统', 'shuiwu'),
 (1, 103, 4, '海关系统', 'haiguan'),
 (3, 100, 1, '全国', 'quanguo'), (4, 100, 1, '全国', 'quanguo'), (5, 100, 1, '全国', 'quanguo'),
 (6, 100, 1, '全国', 'quanguo'), (7, 100, 1, '全国', 'quanguo');
-- 省考: every province; 事业单位, 选调生 and 公安招警: the provinces with courses of their own.
INSERT INTO region(category_id, id, seq, name, sendname) SELECT 2, id, id, name, sendname FROM province;
INSERT INTO region(category_id, id, seq, name, sendname)
SELECT 3, id, id, name, sendname FROM province WHERE id IN (11, 31, 32, 33, 37, 41, 42, 44, 51);
INSERT INTO region(category_id, id, seq, name, sendname)
SELECT 4, id, id, name, sendname FROM province WHERE id IN (32, 33, 37, 42, 43, 51);
INSERT INTO region(category_id, id, seq, name, sendname)
SELECT 7, id, id, name, sendname FROM province WHERE id IN (11, 44);
