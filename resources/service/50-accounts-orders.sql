-- Accounts, their courses and orders. Passwords: kaoshi2026 / qinglan123, gongkao_xiaoli / xiaoli2026.
INSERT INTO account(id, username, password_hash, email, realname, address, zipcode, mobile, telephone, points, face) VALUES
 (20261, 'kaoshi2026', '3ecb3b5a9e205a536a8e2ca2125acb1f6aa592ca33ea964d108a47ffb6154c80', 'kaoshi2026@qinglanwx.cn',
  '张晓岚', '北京市海淀区学院路38号青岚大厦1206室', '100083', '13811112026', '010-62886688', 1280, '/uploads/face/20261.png'),
 (20262, 'gongkao_xiaoli', '48825f4ce129594bb5004218277f457a717bafa0ad00803a1a1fe62574cfe5f5', 'xiaoli@qinglanwx.cn',
  '李晓', '成都市武侯区人民南路四段12号', '610041', '13988886677', '', 260, '/uploads/face/20262.png');

INSERT INTO purchase(account_id, course_id, learning, seq) VALUES
 (20261, 10001, '35%', 1), (20261, 10015, '12%', 2), (20261, 30001, '0%', 3), (20262, 10012, '60%', 1);

-- Orders: ages in seconds before the service started.
INSERT INTO orders(id, order_num, account_id, age, status, paid, goods_sum, discount, money_total, consignee, address,
                   email, phone, zipcode, invoice_head, payment_type) VALUES
 (1, '20250918000001', 20261, 9676800, '已完成', 1, 1280, 50, 1230, '张晓岚', '北京市海淀区学院路38号青岚大厦1206室',
  'kaoshi2026@qinglanwx.cn', '13811112026', '100083', '', 0),
 (2, '20251020000002', 20261, 6912000, '已到账', 1, 2280, 50, 2230, '张晓岚', '北京市海淀区学院路38号青岚大厦1206室',
  'kaoshi2026@qinglanwx.cn', '13811112026', '100083', '北京青岚科技有限公司', 3),
 (3, '20251102000003', 20261, 5875200, '已完成', 1, 580, 0, 580, '张晓岚', '北京市海淀区学院路38号青岚大厦1206室',
  'kaoshi2026@qinglanwx.cn', '13811112026', '100083', '', 1),
 (4, '20251210000004', 20261, 259200, '未处理', 0, 779, 50, 729, '张晓岚', '北京市海淀区学院路38号青岚大厦1206室',
  'kaoshi2026@qinglanwx.cn', '13811112026', '100083', '', 0),
 (5, '20251212000005', 20261, 7200, '已查看', 0, 680, 0, 680, '张晓岚', '北京市海淀区学院路38号青岚大厦1206室',
  'kaoshi2026@qinglanwx.cn', '13811112026', '100083', '个人', 0),
 (6, '20251001000006', 20262, 8294400, '已完成', 1, 1280, 50, 1230, '李晓', '成都市武侯区人民南路四段12号',
  'xiaoli@qinglanwx.cn', '13988886677', '610041', '', 2);

INSERT INTO order_item(order_id, seq, course_id, title)
SELECT o.id, o.seq, o.course_id, c.title
FROM (SELECT 1 AS id, 1 AS seq, 10001 AS course_id UNION ALL SELECT 2, 1, 10015 UNION ALL SELECT 3, 1, 30001
      UNION ALL SELECT 4, 1, 10003 UNION ALL SELECT 4, 2, 10004 UNION ALL SELECT 5, 1, 10013
      UNION ALL SELECT 6, 1, 10012) o JOIN course c ON c.id = o.course_id;
