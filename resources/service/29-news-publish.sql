-- Publishes the drafts: ages by position within each column, and bodies for drafts without one
-- (the summary followed by one of the column's study notes).
INSERT INTO news(id, typeid, age, title, description, writer, litpic, body)
SELECT d.id, d.typeid,
       coalesce((SELECT age FROM rank_age r WHERE r.rank = d.rank), 10627200 + (d.rank - 26) * 604800) + CASE WHEN d.rank > 2 THEN d.id % 97 ELSE 0 END,
       d.title, d.description, d.writer, d.litpic,
       coalesce(d.body,
                '<p>' || d.description || '</p>' ||
                coalesce((SELECT html FROM column_note n WHERE n.typeid = d.typeid AND n.variant = d.id % 3),
                         (SELECT html FROM column_note n WHERE n.typeid = d.typeid AND n.variant = 0), ''))
FROM (SELECT *, row_number() OVER (PARTITION BY typeid ORDER BY id) AS rank FROM draft) d;
DROP TABLE draft;
DROP TABLE column_note;
DROP TABLE rank_age;
