-- The database the client ships and copies into its Documents folder on first start.
-- Play records and the download list start empty; the course catalogue is read only.

-- Play records: category 1 holds a resume position per lesson, category 2 the lesson each course
-- was last studied at. A row is identified by currentPlayID within its category, so that
-- "replace into" stores a record over the older one.
CREATE TABLE QL (
  currentPlayID     integer NOT NULL,
  currentTime       real,
  classLastPlayTime text,
  category          integer NOT NULL,
  classId           integer,
  classLessonId     integer,
  classLessonTitle  text,
  isPlayFinished    integer,
  PRIMARY KEY (currentPlayID, category)
);

-- The download list, read by position in this column order. Every value is text (the sizes
-- inserted as 0 become '0'). A user queues a video once: the second insert is refused, which
-- tells the lesson list that the lesson is already queued.
CREATE TABLE QLVideoDownload (
  userid        text,
  vid           text,
  uid           text,
  title         text,
  status        text,
  currentsize   text,
  filetotalsize text,
  classid       text,
  UNIQUE (userid, vid)
);
-- Progress updates find their rows by video alone.
CREATE INDEX QLVideoDownload_vid ON QLVideoDownload (vid);

-- The course catalogue. Level 1 lists the examination categories; each row names in Nexttable
-- the level-2 table of its regions. That name travels inside a notification tag cut at fixed
-- positions, so it must be exactly 15 characters long. C_or_P_id is the category id (level 1)
-- or the region id (level 2) that the course search sends as CategoryId / ProvinceId.
CREATE TABLE QLCourseCategory (
  id        integer PRIMARY KEY,
  Fullname  text NOT NULL,
  Sendname  text NOT NULL,
  Nexttable text NOT NULL CHECK (length(Nexttable) = 15),
  C_or_P_id text NOT NULL
);
