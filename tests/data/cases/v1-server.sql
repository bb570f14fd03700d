--
-- PostgreSQL database dump
--

\restrict HOO2K2iJY4r6EFnPuP6SBkLm6chWpa9Cod63baODZWWVrIevyoRmu96TKtFA1U9

-- Dumped from database version 15.18 (Debian 15.18-0+deb12u1)
-- Dumped by pg_dump version 15.18 (Debian 15.18-0+deb12u1)

SET statement_timeout = 0;
SET lock_timeout = 0;
SET idle_in_transaction_session_timeout = 0;
SET client_encoding = 'UTF8';
SET standard_conforming_strings = on;
SELECT pg_catalog.set_config('search_path', '', false);
SET check_function_bodies = false;
SET xmloption = content;
SET client_min_messages = warning;
SET row_security = off;

--
-- Name: glenlantern; Type: SCHEMA; Schema: -; Owner: -
--

CREATE SCHEMA glenlantern;


SET default_tablespace = '';

SET default_table_access_method = heap;

--
-- Name: captures; Type: TABLE; Schema: glenlantern; Owner: -
--

CREATE TABLE glenlantern.captures (
    case_key bigint NOT NULL,
    file text NOT NULL,
    data bytea NOT NULL
);


--
-- Name: cases; Type: TABLE; Schema: glenlantern; Owner: -
--

CREATE TABLE glenlantern.cases (
    key bigint NOT NULL,
    name text NOT NULL,
    case_id text NOT NULL,
    created text NOT NULL,
    head_seq bigint NOT NULL,
    head_hash text NOT NULL
);


--
-- Name: cases_key_seq; Type: SEQUENCE; Schema: glenlantern; Owner: -
--

CREATE SEQUENCE glenlantern.cases_key_seq
    START WITH 1
    INCREMENT BY 1
    NO MINVALUE
    NO MAXVALUE
    CACHE 1;


--
-- Name: cases_key_seq; Type: SEQUENCE OWNED BY; Schema: glenlantern; Owner: -
--

ALTER SEQUENCE glenlantern.cases_key_seq OWNED BY glenlantern.cases.key;


--
-- Name: entries; Type: TABLE; Schema: glenlantern; Owner: -
--

CREATE TABLE glenlantern.entries (
    case_key bigint NOT NULL,
    seq bigint NOT NULL,
    kind text NOT NULL,
    "time" text NOT NULL,
    author text NOT NULL,
    service text,
    service_line text,
    term text,
    address text,
    post_body text,
    final_address text,
    title text,
    outcome text,
    started_by text,
    search_seq bigint,
    capture_kind text,
    file text,
    sha256 text,
    size bigint,
    failure text,
    note text,
    prev_hash text NOT NULL,
    hash text NOT NULL,
    origin text
);


--
-- Name: meta; Type: TABLE; Schema: glenlantern; Owner: -
--

CREATE TABLE glenlantern.meta (
    key text NOT NULL,
    value text NOT NULL
);


--
-- Name: cases key; Type: DEFAULT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.cases ALTER COLUMN key SET DEFAULT nextval('glenlantern.cases_key_seq'::regclass);


--
-- Data for Name: captures; Type: TABLE DATA; Schema: glenlantern; Owner: -
--

COPY glenlantern.captures (case_key, file, data) FROM stdin;
1	000001-000002.mhtml	\\x63617074757265206f6620736561726368203178787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878
1	000003-000004.png	\\x63617074757265206f662073656172636820327878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878
1	000006-000007.mhtml	\\x63617074757265206f66207365617263682033787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878787878
\.


--
-- Data for Name: cases; Type: TABLE DATA; Schema: glenlantern; Owner: -
--

COPY glenlantern.cases (key, name, case_id, created, head_seq, head_hash) FROM stdin;
1	old	9d5e2a18-4eca-4f02-87e4-329bcd58ab3b	2026-12-09T19:10:36.860Z	8	f10cea1a5ad2c43aa7b8f7b541ce6461749970861a2f095480c8604cbf4e7bcb
\.


--
-- Data for Name: entries; Type: TABLE DATA; Schema: glenlantern; Owner: -
--

COPY glenlantern.entries (case_key, seq, kind, "time", author, service, service_line, term, address, post_body, final_address, title, outcome, started_by, search_seq, capture_kind, file, sha256, size, failure, note, prev_hash, hash, origin) FROM stdin;
1	1	search	2026-12-09T19:10:36.865Z	analyst@vm	Wiki <b>	Wiki <b>=http://127.0.0.1/?q=|s|	term 1 ü 😀 \t"line\r\nbreak" <script>alert(1)</script>	http://127.0.0.1/?q=term+1	\N	http://127.0.0.1/?q=term+1&redirected=1	-Title 1 </td><img src=x onerror=alert(1)>	loaded	step	\N	\N	\N	\N	\N	\N	\N	9030c630b82397544dc50f1ce754ac84b3d0c91a10f20c17fca15ac2f79f3151	5407d73eb5ba2d53d42f7615ee6099c795aacdda28b48be75959b53cc30600a4	e800d14c-ba00-43b4-85ef-6fbc251cfe81
1	2	capture	2026-12-09T19:10:36.879Z	analyst@vm	\N	\N	\N	\N	\N	\N	\N	\N	\N	1	mhtml	000001-000002.mhtml	34bf7e20b238e7365ebbc1068431f5c06950a1dc0c76d3ef84cb491a67d10c59	119	\N	\N	5407d73eb5ba2d53d42f7615ee6099c795aacdda28b48be75959b53cc30600a4	377a654215843ad4c31b66aea21c1af698dd7249cd1822ff705426c59795b1f2	01b4cdc5-7b8a-4cd1-beac-056894b144ae
1	3	search	2026-12-09T19:10:36.893Z	analyst@vm	Wiki <b>	Wiki <b>=http://127.0.0.1/?q=|s|	term 2 ü 😀 \t"line\r\nbreak" <script>alert(1)</script>	http://127.0.0.1/?q=term+2	\N	http://127.0.0.1/?q=term+2&redirected=1	-Title 2 </td><img src=x onerror=alert(1)>	loaded	step	\N	\N	\N	\N	\N	\N	\N	377a654215843ad4c31b66aea21c1af698dd7249cd1822ff705426c59795b1f2	e48f3ccde984cebc6e1938de6ff27604d427c01889a65b3aaf554b76fc76267c	3ee8a9c7-0b07-4cff-9ded-186ed5e65008
1	4	capture	2026-12-09T19:10:36.894Z	analyst@vm	\N	\N	\N	\N	\N	\N	\N	\N	\N	3	png	000003-000004.png	8cef858cc5968267842348d2b9cf17932be0b7c0ad13ba368f7236abd28d1c3c	219	\N	\N	e48f3ccde984cebc6e1938de6ff27604d427c01889a65b3aaf554b76fc76267c	bceb08e8c6b62f9f2a152fc323ebff213fa596d7f7ccc577e6c2e7ca056b98e1	6d1f1431-6d77-476c-a692-32831352e325
1	5	capture	2026-12-09T19:10:36.897Z	analyst@vm	\N	\N	\N	\N	\N	\N	\N	\N	\N	3	pdf	\N	\N	0	the page never loaded	\N	bceb08e8c6b62f9f2a152fc323ebff213fa596d7f7ccc577e6c2e7ca056b98e1	2389380fae4b583f2753e22a2f9bad5a0f7489007ad8739c068bd99ac5ae1fd4	db718040-5f8e-4a7c-b5b2-d4e1fa225536
1	6	search	2026-12-09T19:10:36.905Z	analyst@vm	=Books, "quoted"	=Books, "quoted"=http://127.0.0.1/?q=|s|	term 3 ü 😀 \t"line\r\nbreak" <script>alert(1)</script>	http://127.0.0.1/?q=term+3	\N	http://127.0.0.1/?q=term+3&redirected=1	-Title 3 </td><img src=x onerror=alert(1)>	loaded	step	\N	\N	\N	\N	\N	\N	\N	2389380fae4b583f2753e22a2f9bad5a0f7489007ad8739c068bd99ac5ae1fd4	9fd32d1c3bd018876b62a7acc78ee32f264113070650b98aa2f03656f308d9f0	3af32d55-54de-4bec-add0-eed60eac9675
1	7	capture	2026-12-09T19:10:36.906Z	analyst@vm	\N	\N	\N	\N	\N	\N	\N	\N	\N	6	mhtml	000006-000007.mhtml	e6313cde9b5fd09839e45ade1f8f9bea62bf0af1af682731916f730c0211af2e	319	\N	\N	9fd32d1c3bd018876b62a7acc78ee32f264113070650b98aa2f03656f308d9f0	b8c04f8a85f58b8e6e640c1d77eb45682ec4edaa41f4f06c44d46124ce671734	cd236859-cfb1-4574-a640-0e1cadfbb2eb
1	8	note	2026-12-09T19:10:36.910Z	analyst@vm	\N	\N	\N	\N	\N	\N	\N	\N	\N	6	\N	\N	\N	\N	\N	=note 3, "checked"\nsecond line	b8c04f8a85f58b8e6e640c1d77eb45682ec4edaa41f4f06c44d46124ce671734	f10cea1a5ad2c43aa7b8f7b541ce6461749970861a2f095480c8604cbf4e7bcb	f3e084c4-0b3d-461f-8f6b-4173127e2bbe
\.


--
-- Data for Name: meta; Type: TABLE DATA; Schema: glenlantern; Owner: -
--

COPY glenlantern.meta (key, value) FROM stdin;
application	glenlantern-case
schema	1
\.


--
-- Name: cases_key_seq; Type: SEQUENCE SET; Schema: glenlantern; Owner: -
--

SELECT pg_catalog.setval('glenlantern.cases_key_seq', 1, true);


--
-- Name: captures captures_pkey; Type: CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.captures
    ADD CONSTRAINT captures_pkey PRIMARY KEY (case_key, file);


--
-- Name: cases cases_name_key; Type: CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.cases
    ADD CONSTRAINT cases_name_key UNIQUE (name);


--
-- Name: cases cases_pkey; Type: CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.cases
    ADD CONSTRAINT cases_pkey PRIMARY KEY (key);


--
-- Name: entries entries_case_key_origin_key; Type: CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.entries
    ADD CONSTRAINT entries_case_key_origin_key UNIQUE (case_key, origin);


--
-- Name: entries entries_pkey; Type: CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.entries
    ADD CONSTRAINT entries_pkey PRIMARY KEY (case_key, seq);


--
-- Name: meta meta_pkey; Type: CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.meta
    ADD CONSTRAINT meta_pkey PRIMARY KEY (key);


--
-- Name: entries_search; Type: INDEX; Schema: glenlantern; Owner: -
--

CREATE INDEX entries_search ON glenlantern.entries USING btree (case_key, search_seq);


--
-- Name: captures captures_case_key_fkey; Type: FK CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.captures
    ADD CONSTRAINT captures_case_key_fkey FOREIGN KEY (case_key) REFERENCES glenlantern.cases(key);


--
-- Name: entries entries_case_key_fkey; Type: FK CONSTRAINT; Schema: glenlantern; Owner: -
--

ALTER TABLE ONLY glenlantern.entries
    ADD CONSTRAINT entries_case_key_fkey FOREIGN KEY (case_key) REFERENCES glenlantern.cases(key);


--
-- PostgreSQL database dump complete
--

\unrestrict HOO2K2iJY4r6EFnPuP6SBkLm6chWpa9Cod63baODZWWVrIevyoRmu96TKtFA1U9

