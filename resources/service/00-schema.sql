-- Schema of the qinglan-service database. The seed files that follow fill it, in name order, in
-- one transaction when the service first starts with a new data folder.
-- Publication and order times are stored as ages: seconds before the moment the service started.

CREATE TABLE news_column (
  typeid  INTEGER PRIMARY KEY,   -- column type id, as the client sends it
  name    TEXT NOT NULL
);

CREATE TABLE news (
  id          INTEGER PRIMARY KEY,
  typeid      INTEGER NOT NULL REFERENCES news_column(typeid),
  age         INTEGER NOT NULL,
  title       TEXT NOT NULL,
  description TEXT NOT NULL DEFAULT '',
  writer      TEXT NOT NULL DEFAULT '青岚网校资讯中心',
  litpic      TEXT NOT NULL DEFAULT '',   -- picture path on the site host (headlines)
  body        TEXT NOT NULL
);
CREATE INDEX news_by_column ON news(typeid, age);

CREATE TABLE teacher (
  id    INTEGER PRIMARY KEY,
  name  TEXT NOT NULL,
  uid   TEXT NOT NULL,                   -- the teacher's 16-character account on the video platform
  intro TEXT NOT NULL DEFAULT ''
);

-- Open lessons: kind 1 讲座, 6 申论, 7 行测, 8 面试. A lesson without uid has no video yet.
-- layout: how the video address is written (see src/service/VideoFiles.h).
CREATE TABLE openclass (
  id         INTEGER PRIMARY KEY,
  kind       INTEGER NOT NULL,
  seq        INTEGER NOT NULL,
  title      TEXT NOT NULL,
  teacher    TEXT NOT NULL,
  timelength TEXT NOT NULL,
  pingfen    TEXT NOT NULL DEFAULT '5',
  minutes    INTEGER NOT NULL DEFAULT 40,
  uid        TEXT,
  vid        TEXT,
  layout     INTEGER NOT NULL DEFAULT 1
);

-- The mall catalogue: level 1 (category, its id is the CategoryId the client sends; next_table
-- is the 15-character name of the client's level-2 table) and level 2 (regions, whose id is the
-- ProvinceId the client sends).
CREATE TABLE category (
  id         INTEGER PRIMARY KEY,
  name       TEXT NOT NULL,
  sendname   TEXT NOT NULL,
  next_table TEXT NOT NULL CHECK (length(next_table) = 15)
);

CREATE TABLE region (
  category_id INTEGER NOT NULL REFERENCES category(id),
  id          INTEGER NOT NULL,
  seq         INTEGER NOT NULL,
  name        TEXT NOT NULL,
  sendname    TEXT NOT NULL,
  PRIMARY KEY (category_id, id)
);

-- Courses have five-digit numbers. subject: 1 笔试, 2 面试 (the client's 全部 sends 0).
CREATE TABLE course (
  id            INTEGER PRIMARY KEY CHECK (id BETWEEN 10000 AND 99999),
  category_id   INTEGER NOT NULL,
  province_id   INTEGER NOT NULL,
  subject       INTEGER NOT NULL CHECK (subject IN (1, 2)),
  seq           INTEGER NOT NULL DEFAULT 50,
  title         TEXT NOT NULL,
  teacher_names TEXT NOT NULL,
  price         TEXT NOT NULL,
  actual_price  TEXT NOT NULL,
  is_package    INTEGER NOT NULL DEFAULT 0,
  features      TEXT NOT NULL DEFAULT '',   -- HTML: 课程特色
  services      TEXT NOT NULL DEFAULT '',   -- HTML: 增值服务
  teacher_html  TEXT NOT NULL DEFAULT ''    -- HTML: 授课老师
);

CREATE TABLE package_item (
  package_id INTEGER NOT NULL REFERENCES course(id),
  course_id  INTEGER NOT NULL REFERENCES course(id),
  seq        INTEGER NOT NULL,
  PRIMARY KEY (package_id, course_id)
);

CREATE TABLE lesson (
  id         INTEGER PRIMARY KEY,
  course_id  INTEGER NOT NULL REFERENCES course(id),
  seq        INTEGER NOT NULL,
  title      TEXT NOT NULL,
  teacher_id INTEGER NOT NULL REFERENCES teacher(id),
  minutes    INTEGER NOT NULL,
  uid        TEXT NOT NULL,
  vid        TEXT NOT NULL,
  layout     INTEGER NOT NULL DEFAULT 1
);
CREATE INDEX lesson_by_course ON lesson(course_id, seq);

CREATE VIEW course_summary AS
SELECT c.*,
       CASE WHEN c.is_package = 1
            THEN (SELECT count(*) FROM package_item i JOIN lesson l ON l.course_id = i.course_id WHERE i.package_id = c.id)
            ELSE (SELECT count(*) FROM lesson l WHERE l.course_id = c.id) END AS lesson_count
FROM course c;

CREATE TABLE account (
  id            INTEGER PRIMARY KEY,
  username      TEXT NOT NULL UNIQUE,
  password_hash TEXT NOT NULL,          -- SHA-256 hex of "qinglan:" + password
  email         TEXT NOT NULL,
  realname      TEXT,
  address       TEXT,
  zipcode       TEXT,
  mobile        TEXT,
  telephone     TEXT,
  points        INTEGER NOT NULL DEFAULT 0,
  face          TEXT
);
CREATE UNIQUE INDEX account_email ON account(lower(email));

CREATE TABLE purchase (
  account_id INTEGER NOT NULL REFERENCES account(id),
  course_id  INTEGER NOT NULL REFERENCES course(id),
  learning   TEXT NOT NULL DEFAULT '0%',
  seq        INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (account_id, course_id)
);

CREATE TABLE orders (
  id           INTEGER PRIMARY KEY,
  order_num    TEXT NOT NULL,
  account_id   INTEGER NOT NULL REFERENCES account(id),
  age          INTEGER NOT NULL,
  status       TEXT NOT NULL,           -- 未处理 已查看 (unpaid); 已到账 已发货 已收货 已完成 (paid)
  paid         INTEGER NOT NULL,
  goods_sum    INTEGER NOT NULL,
  discount     INTEGER NOT NULL,
  money_total  INTEGER NOT NULL,        -- the amount payable
  consignee    TEXT NOT NULL DEFAULT '',
  address      TEXT NOT NULL DEFAULT '',
  email        TEXT NOT NULL DEFAULT '',
  phone        TEXT NOT NULL DEFAULT '',
  zipcode      TEXT NOT NULL DEFAULT '',
  invoice_head TEXT NOT NULL DEFAULT '',
  payment_type INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE order_item (
  order_id  INTEGER NOT NULL REFERENCES orders(id),
  seq       INTEGER NOT NULL,
  course_id INTEGER NOT NULL,
  title     TEXT NOT NULL
);

CREATE TABLE records (
  id   INTEGER PRIMARY KEY,
  kind TEXT NOT NULL,
  at   INTEGER NOT NULL,
  data TEXT NOT NULL
);

-- Every file the video host serves: lesson and open-lesson videos, and one large file.
CREATE TABLE extra_video (uid TEXT NOT NULL, vid TEXT NOT NULL, size INTEGER NOT NULL, PRIMARY KEY (uid, vid));
CREATE VIEW videos AS
SELECT uid, vid, 1200000 + minutes * 45000 AS size FROM lesson WHERE (uid, vid) NOT IN (SELECT uid, vid FROM extra_video)
UNION SELECT uid, vid, 900000 + minutes * 40000 FROM openclass WHERE uid IS NOT NULL
UNION SELECT uid, vid, size FROM extra_video;
INSERT INTO extra_video VALUES ('LARGEFILEUSER001', 'LARGEFILEVIDEO01', 157286400);
-- A small file for the download tests.
INSERT INTO extra_video VALUES ('DLTESTUSER000001', 'DLTESTVIDEO00001', 2000000);
