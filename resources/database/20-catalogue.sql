-- The examination categories and their regions. The ids are those of the school's course
-- search: CategoryId = C_or_P_id of a QLCourseCategory row, ProvinceId = C_or_P_id of a row of its
-- level-2 table. Provinces carry their administrative division codes; 100 is the nationwide entry.

INSERT INTO QLCourseCategory (id, Fullname, Sendname, Nexttable, C_or_P_id) VALUES
 (1, '国考', 'guokao', 'QLCourseCate_01', '1'),
 (2, '省考', 'shengkao', 'QLCourseCate_02', '2'),
 (3, '事业单位', 'shiye', 'QLCourseCate_03', '3'),
 (4, '选调生', 'xuandiao', 'QLCourseCate_04', '4'),
 (5, '政法干警', 'zhengfa', 'QLCourseCate_05', '5'),
 (6, '军队文职', 'junwen', 'QLCourseCate_06', '6'),
 (7, '公安招警', 'zhaojing', 'QLCourseCate_07', '7');

-- 国考
CREATE TABLE QLCourseCate_01 (id integer PRIMARY KEY, Fullname text NOT NULL, Sendname text NOT NULL,
  Nexttable text NOT NULL DEFAULT '', C_or_P_id text NOT NULL);
INSERT INTO QLCourseCate_01 (id, Fullname, Sendname, C_or_P_id) VALUES
 (1, '全国', 'quanguo', '100'), (2, '中央机关', 'zhongyang', '101'), (3, '税务系统', 'shuiwu', '102'), (4, '海关系统', 'haiguan', '103');

-- 省考
CREATE TABLE QLCourseCate_02 (id integer PRIMARY KEY, Fullname text NOT NULL, Sendname text NOT NULL,
  Nexttable text NOT NULL DEFAULT '', C_or_P_id text NOT NULL);
INSERT INTO QLCourseCate_02 (id, Fullname, Sendname, C_or_P_id) VALUES
 (1, '北京', 'beijing', '11'), (2, '天津', 'tianjin', '12'), (3, '河北', 'hebei', '13'), (4, '山西', 'shanxi', '14'),
 (5, '内蒙古', 'neimenggu', '15'), (6, '辽宁', 'liaoning', '21'), (7, '吉林', 'jilin', '22'), (8, '黑龙江', 'heilongjiang', '23'),
 (9, '上海', 'shanghai', '31'), (10, '江苏', 'jiangsu', '32'), (11, '浙江', 'zhejiang', '33'), (12, '安徽', 'anhui', '34'),
 (13, '福建', 'fujian', '35'), (14, '江西', 'jiangxi', '36'), (15, '山东', 'shandong', '37'), (16, '河南', 'henan', '41'),
 (17, '湖北', 'hubei', '42'), (18, '湖南', 'hunan', '43'), (19, '广东', 'guangdong', '44'), (20, '广西', 'guangxi', '45'),
 (21, '海南', 'hainan', '46'), (22, '重庆', 'chongqing', '50'), (23, '四川', 'sichuan', '51'), (24, '贵州', 'guizhou', '52'),
 (25, '云南', 'yunnan', '53'), (26, '西藏', 'xizang', '54'), (27, '陕西', 'shaanxi', '61'), (28, '甘肃', 'gansu', '62'),
 (29, '青海', 'qinghai', '63'), (30, '宁夏', 'ningxia', '64'), (31, '新疆', 'xinjiang', '65');

-- 事业单位
CREATE TABLE QLCourseCate_03 (id integer PRIMARY KEY, Fullname text NOT NULL, Sendname text NOT NULL,
  Nexttable text NOT NULL DEFAULT '', C_or_P_id text NOT NULL);
INSERT INTO QLCourseCate_03 (id, Fullname, Sendname, C_or_P_id) VALUES
 (1, '全国', 'quanguo', '100'), (2, '北京', 'beijing', '11'), (3, '上海', 'shanghai', '31'), (4, '江苏', 'jiangsu', '32'),
 (5, '浙江', 'zhejiang', '33'), (6, '山东', 'shandong', '37'), (7, '河南', 'henan', '41'), (8, '湖北', 'hubei', '42'),
 (9, '广东', 'guangdong', '44'), (10, '四川', 'sichuan', '51');

-- 选调生
CREATE TABLE QLCourseCate_04 (id integer PRIMARY KEY, Fullname text NOT NULL, Sendname text NOT NULL,
  Nexttable text NOT NULL DEFAULT '', C_or_P_id text NOT NULL);
INSERT INTO QLCourseCate_04 (id, Fullname, Sendname, C_or_P_id) VALUES
 (1, '全国', 'quanguo', '100'), (2, '江苏', 'jiangsu', '32'), (3, '浙江', 'zhejiang', '33'), (4, '山东', 'shandong', '37'),
 (5, '湖北', 'hubei', '42'), (6, '湖南', 'hunan', '43'), (7, '四川', 'sichuan', '51');

-- 政法干警
CREATE TABLE QLCourseCate_05 (id integer PRIMARY KEY, Fullname text NOT NULL, Sendname text NOT NULL,
  Nexttable text NOT NULL DEFAULT '', C_or_P_id text NOT NULL);
INSERT INTO QLCourseCate_05 (id, Fullname, Sendname, C_or_P_id) VALUES
 (1, '全国', 'quanguo', '100');

-- 军队文职
CREATE TABLE QLCourseCate_06 (id integer PRIMARY KEY, Fullname text NOT NULL, Sendname text NOT NULL,
  Nexttable text NOT NULL DEFAULT '', C_or_P_id text NOT NULL);
INSERT INTO QLCourseCate_06 (id, Fullname, Sendname, C_or_P_id) VALUES
 (1, '全国', 'quanguo', '100');

-- 公安招警
CREATE TABLE QLCourseCate_07 (id integer PRIMARY KEY, Fullname text NOT NULL, Sendname text NOT NULL,
  Nexttable text NOT NULL DEFAULT '', C_or_P_id text NOT NULL);
INSERT INTO QLCourseCate_07 (id, Fullname, Sendname, C_or_P_id) VALUES
 (1, '全国', 'quanguo', '100'), (2, '北京', 'beijing', '11'), (3, '广东', 'guangdong', '44');
