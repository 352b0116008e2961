-- Courses of the mall, packages and lessons.
INSERT INTO course(id, category_id, province_id, subject, seq, title, teacher_names, price, actual_price, is_package) VALUES
 (10001, 1, 100, 1, 1, '2026国考笔试全程班（行测+申论）', '林书恒 苏婉清', '1980', '1280', 0),
 (10015, 1, 100, 1, 2, '2026国考全程套餐（面试+资料分析+大作文）', '周启明 林书恒 苏婉清', '3280', '2280', 1),
 (10002, 1, 100, 1, 3, '2026国考行测系统精讲班', '林书恒 陈知远 何雨桐', '980', '680', 0),
 (10003, 1, 100, 1, 4, '2026国考申论写作特训班', '苏婉清', '880', '580', 0),
 (10004, 1, 100, 1, 5, '国考资料分析速算专项课', '林书恒', '299', '199', 0),
 (10005, 1, 100, 1, 6, '国考判断推理专项课', '陈知远', '299', '199', 0),
 (10006, 1, 100, 1, 7, '国考言语理解与表达专项课', '何雨桐', '299', '199', 0),
 (10007, 1, 100, 1, 8, '国考数量关系专项课', '林书恒', '299', '199', 0),
 (10008, 1, 100, 1, 9, '国考常识判断精讲', '韩露', '199', '99', 0),
 (10009, 1, 100, 1, 10, '国考申论大作文专项', '苏婉清', '399', '299', 0),
 (10010, 1, 100, 1, 11, '国考笔试考前冲刺模考班', '林书恒 苏婉清', '599', '399', 0),
 (10011, 1, 100, 1, 12, '国考行测真题精讲（近五年）', '林书恒 陈知远', '399', '299', 0),
 (10012, 1, 100, 2, 13, '2026国考面试结构化全程班', '周启明', '1680', '1280', 0),
 (10013, 1, 100, 2, 14, '国考面试无领导小组讨论专项', '周启明', '880', '680', 0),
 (10014, 1, 100, 2, 15, '国考面试一对一模拟点评', '周启明', '2980', '2980', 0),
 (10021, 1, 101, 1, 1, '中央机关职位笔试提升班', '林书恒 苏婉清', '1280', '980', 0),
 (10022, 1, 101, 2, 2, '部委面试高分班', '周启明', '1980', '1580', 0),
 (10031, 1, 102, 1, 1, '税务系统笔试专项班', '林书恒 何雨桐', '980', '780', 0),
 (10032, 1, 102, 2, 2, '税务系统面试特训', '周启明', '1280', '980', 0),
 (10041, 1, 103, 1, 1, '海关系统备考精讲班', '陈知远 苏婉清', '980', '780', 0),
 (20325, 2, 32, 1, 3, '江苏省考申论A类、B类、C类专项', '苏婉清', '599', '399', 0),
 (20326, 2, 32, 1, 4, '江苏省考行测真题精讲', '林书恒', '399', '299', 0),
 (30001, 3, 100, 1, 1, '事业单位职业能力倾向测验精讲班', '赵铭 林书恒', '880', '580', 0),
 (30002, 3, 100, 1, 2, '事业单位综合应用能力（A类）', '赵铭 苏婉清', '680', '480', 0),
 (30003, 3, 100, 1, 3, '事业单位公共基础知识', '韩露', '480', '280', 0),
 (30004, 3, 100, 2, 4, '事业单位面试全程班', '周启明 赵铭', '1280', '880', 0),
 (40001, 4, 100, 1, 1, '选调生笔试全程班', '赵铭 苏婉清', '1580', '1180', 0),
 (40002, 4, 100, 2, 2, '选调生面试特训营', '周启明', '1280', '980', 0),
 (50001, 5, 100, 1, 1, '政法干警行测+申论班', '林书恒 苏婉清', '980', '680', 0),
 (50002, 5, 100, 1, 2, '政法干警专业科目（法学）', '吴静怡', '680', '480', 0),
 (50003, 5, 100, 2, 3, '政法干警面试班', '周启明', '980', '680', 0),
 (60001, 6, 100, 1, 1, '军队文职公共科目精讲', '赵铭 何雨桐', '880', '580', 0),
 (60002, 6, 100, 1, 2, '军队文职专业科目（管理学）', '赵铭', '580', '380', 0),
 (60003, 6, 100, 2, 3, '军队文职面试班', '周启明', '980', '680', 0),
 (70001, 7, 100, 1, 1, '公安专业科目精讲', '吴静怡', '680', '480', 0),
 (70002, 7, 100, 2, 2, '公安招警面试班', '周启明 吴静怡', '980', '680', 0);

-- Regional courses, one written test and one interview course per region of a category.
CREATE TEMP TABLE regional_title(category_id INTEGER, subject INTEGER, title TEXT, teachers TEXT, price INTEGER);
INSERT INTO regional_title VALUES
 (2, 1, '2026{省}省考笔试系统班（行测+申论）', '林书恒 苏婉清', 1280), (2, 2, '2026{省}省考面试结构化特训班', '周启明', 1480),
 (3, 1, '2026{省}事业单位招聘笔试精讲班', '赵铭 苏婉清', 880), (3, 2, '2026{省}事业单位面试实战班', '周启明 赵铭', 980),
 (4, 1, '2026{省}选调生笔试全程班', '赵铭 苏婉清', 1280), (4, 2, '2026{省}选调生面试特训营', '周启明', 1180),
 (7, 1, '2026{省}公安招警笔试+专业科目班', '吴静怡 林书恒', 980), (7, 2, '2026{省}公安招警面试班', '周启明 吴静怡', 880);
INSERT INTO course(id, category_id, province_id, subject, seq, title, teacher_names, price, actual_price)
SELECT r.category_id * 10000 + r.id * 10 + t.subject, r.category_id, r.id, t.subject, t.subject,
       replace(t.title, '{省}', r.name), t.teachers,
       CAST(t.price + (r.id % 5) * 100 AS TEXT), CAST(t.price + (r.id % 5) * 100 - 300 - (r.id % 3) * 100 AS TEXT)
FROM region r JOIN regional_title t ON t.category_id = r.category_id
WHERE r.id <> 100;
DROP TABLE regional_title;

INSERT INTO package_item(package_id, course_id, seq) VALUES (10015, 10012, 1), (10015, 10004, 2), (10015, 10009, 3);

-- Course pages: features and services by subject, the teachers from their introductions.
UPDATE course SET features = CASE subject WHEN 1 THEN
 '<p><strong>' || title || '</strong></p>
<ul><li>行测五大模块系统精讲：言语理解、数量关系、判断推理、资料分析、常识判断</li>
<li>申论从材料阅读、归纳概括到大作文写作，循序渐进</li>
<li>每讲配套练习题，<span style="color:#ff0000">直播答疑每周两次</span></li></ul>
<table border="1" cellpadding="4" cellspacing="0"><tr><th>阶段</th><th>内容</th><th>课时</th></tr>
<tr><td>基础</td><td>题型方法</td><td>约40%</td></tr><tr><td>强化</td><td>专项突破</td><td>约40%</td></tr>
<tr><td>冲刺</td><td>真题模考</td><td>约20%</td></tr></table>'
ELSE
 '<p><strong>' || title || '</strong></p>
<ul><li>结构化面试六大题型逐一拆解：综合分析、计划组织、人际关系、应急应变、情景模拟、自我认知</li>
<li>真题示范与学员答题实录点评</li>
<li><span style="color:#ff0000">模拟考场实训</span>，考官视角打分反馈</li></ul>'
END;
UPDATE course SET services =
 '<ul><li>课程有效期365天，有效期内不限次数观看</li><li>支持下载到手机离线观看</li>
<li>班主任督学，学习群内答疑</li><li>' ||
 CASE subject WHEN 1 THEN '申论作文每周一篇人工批改' ELSE '面试录音一对一点评两次' END ||
 '</li><li>客服热线：400-806-2026（工作日9:00-21:00）</li></ul>';
UPDATE course SET teacher_html = coalesce((SELECT group_concat('<p><strong>' || t.name || '</strong>：' || t.intro || '</p>', '')
                                           FROM teacher t WHERE instr(course.teacher_names, t.name) > 0), '');

-- Lessons written out for the courses of the demo account; layout 3 lesson 12 is the large file.
CREATE TEMP TABLE lesson_draft(id INTEGER PRIMARY KEY, course_id INTEGER, seq INTEGER, title TEXT, teacher_id INTEGER, minutes INTEGER, layout INTEGER);
INSERT INTO lesson_draft VALUES
 (1000101, 10001, 1, '开班导学：国考笔试全景与学习方法', 1, 45, 1),
 (1000102, 10001, 2, '言语理解：逻辑填空的语境分析', 4, 62, 3),
 (1000103, 10001, 3, '言语理解：片段阅读的主旨与意图', 4, 58, 1),
 (1000104, 10001, 4, '数量关系：方程法与赋值法', 1, 66, 3),
 (1000105, 10001, 5, '判断推理：图形推理规律速判', 5, 60, 2),
 (1000106, 10001, 6, '判断推理：逻辑判断的论证题', 5, 64, 4),
 (1000107, 10001, 7, '资料分析：核心概念与速算', 1, 70, 5),
 (1000108, 10001, 8, '常识判断：时政与法律高频考点', 6, 50, 1),
 (1000109, 10001, 9, '申论：材料阅读与要点提取', 2, 68, 3),
 (1000110, 10001, 10, '申论：提出对策与贯彻执行', 2, 72, 1),
 (1000111, 10001, 11, '申论：大作文立意与谋篇', 2, 80, 3),
 (1000112, 10001, 12, '全真模考讲评（高清完整版）', 1, 120, 3),
 (1001201, 10012, 1, '面试导学：结构化面试是什么', 3, 40, 1),
 (1001202, 10012, 2, '综合分析题：观点与论证', 3, 55, 3),
 (1001203, 10012, 3, '计划组织题：要素与亮点', 3, 52, 1),
 (1001204, 10012, 4, '人际关系题：态度与方法', 3, 48, 2),
 (1001205, 10012, 5, '应急应变题：处置顺序', 3, 50, 3),
 (1001206, 10012, 6, '情景模拟题：进入角色', 3, 46, 4),
 (1001207, 10012, 7, '面试礼仪与语言表达', 4, 35, 1),
 (1001208, 10012, 8, '模拟考场：学员答题点评', 3, 75, 3);

-- Other courses take their lessons from the subject's syllabus.
CREATE TEMP TABLE syllabus(subject INTEGER, seq INTEGER, title TEXT, teacher_id INTEGER, minutes INTEGER);
INSERT INTO syllabus VALUES
 (1, 1, '课程导学与考情分析', 1, 40), (1, 2, '言语理解：逻辑填空', 4, 60), (1, 3, '言语理解：片段阅读', 4, 58),
 (1, 4, '数量关系：基础题型', 1, 62), (1, 5, '数量关系：提高题型', 1, 65), (1, 6, '判断推理：图形推理', 5, 55),
 (1, 7, '判断推理：定义与类比', 5, 52), (1, 8, '判断推理：逻辑判断', 5, 66), (1, 9, '资料分析：速算技巧', 1, 64),
 (1, 10, '资料分析：综合分析', 1, 60), (1, 11, '常识判断：高频考点', 6, 48), (1, 12, '申论：归纳概括', 2, 62),
 (1, 13, '申论：提出对策', 2, 58), (1, 14, '申论：大作文写作', 2, 75),
 (2, 1, '面试导学与评分标准', 3, 40), (2, 2, '综合分析题', 3, 55), (2, 3, '计划组织题', 3, 52),
 (2, 4, '人际关系题', 3, 48), (2, 5, '应急应变题', 3, 50), (2, 6, '情景模拟题', 3, 46),
 (2, 7, '自我认知与岗位匹配', 3, 38), (2, 8, '面试礼仪与表达', 4, 35), (2, 9, '模拟实训与点评', 3, 70);
INSERT INTO lesson_draft(id, course_id, seq, title, teacher_id, minutes, layout)
SELECT c.id * 100 + s.seq, c.id, s.seq, s.title, s.teacher_id, s.minutes, CASE WHEN s.seq % 2 = 0 THEN 3 ELSE 1 END
FROM course c JOIN syllabus s ON s.subject = c.subject
WHERE c.is_package = 0 AND c.id NOT IN (SELECT course_id FROM lesson_draft)
  AND s.seq <= CASE c.subject WHEN 1 THEN 8 + c.id % 7 ELSE 6 + c.id % 4 END;
DROP TABLE syllabus;

INSERT INTO lesson(id, course_id, seq, title, teacher_id, minutes, uid, vid, layout)
SELECT d.id, d.course_id, d.seq, d.title, d.teacher_id, d.minutes,
       CASE WHEN d.id = 1000112 THEN 'LARGEFILEUSER001' ELSE t.uid END,
       CASE WHEN d.id = 1000112 THEN 'LARGEFILEVIDEO01'
            WHEN d.layout = 5 THEN printf('%016X%016X', (d.id * 2654435761) % 1152921504606846976 + 1152921504606846976,
                                         (d.id * 40503 + 977) % 1152921504606846976 + 1152921504606846976)
            ELSE printf('%016X', (d.id * 2654435761) % 1152921504606846976 + 1152921504606846976) END,
       d.layout
FROM lesson_draft d JOIN teacher t ON t.id = d.teacher_id;
DROP TABLE lesson_draft;
