-- Run on the built database; every row any of these queries returns is an error of the build.

-- Each category names a level-2 table that exists.
SELECT 'QLCourseCategory row ' || id || ' names a missing table ' || Nexttable
  FROM QLCourseCategory WHERE Nexttable NOT IN (SELECT name FROM sqlite_master WHERE type = 'table');
-- Each category has an id to search with.
SELECT 'QLCourseCategory row ' || id || ' has no category id' FROM QLCourseCategory WHERE C_or_P_id = '';
