'use strict'

// A real panel for the tests: vcp on its built-in simulated units (or on vcp-sim's line),
// offscreen, with network control on a free loopback port and settings of its own.
const { spawn } = require('node:child_process')
const fs = require('node:fs')
const net = require('node:net')
const os = require('node:os')
const path = require('node:path')
const { once } = require('node:events')

const kBin = process.env.VCP_BIN_DIR ?? path.join(__dirname, '..', '..', 'build', 'bin')
const kStart_ms = 20000

function freePort() {
	const server = net.createServer()
	return new Promise((resolve, reject) => {
		server.once('error', reject)
		server.listen(0, '127.0.0.1', () => {
			const { port } = server.address()
			server.close(() => resolve(port))
		})
	})
}

// Resolves once `check()` holds, tried after each `event` of `emitter`; rejects after `limit_ms`.
function until(emitter, event, check, limit_ms = 10000) {
	return new Promise((resolve, reject) => {
		const test = (...args) => {
			if (!check(...args)) return
			clearTimeout(timer)
			emitter.off(event, test)
			resolve(args)
		}
		const timer = setTimeout(() => {
			emitter.off(event, test)
			reject(new Error(`no ${event} that fits within ${limit_ms} ms`))
		}, limit_ms)
		emitter.on(event, test)
		test()
	})
}

// Starts vcp listening on `port`; `remote` holds settings of section Remote ("ReadOnly=true").
async function startPanel({ port, remote = [], line = 'inproc:sim' }) {
	const home = fs.mkdtempSync(path.join(os.tmpdir(), 'vcp-companion-'))
	fs.mkdirSync(path.join(home, 'Korvanthe'))
	fs.writeFileSync(path.join(home, 'Korvanthe', 'KorvantheVCP.conf'), ['[Remote]', 'OscOn=false', ...remote].join('\n'))
	const child = spawn(path.join(kBin, 'vcp'), ['--port', line, '--remote', `127.0.0.1:${port}`], {
		env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', XDG_CONFIG_HOME: home, XDG_RUNTIME_DIR: home },
		stdio: ['ignore', 'ignore', 'pipe'],
	})
	let errors = ''
	child.stderr.on('data', (data) => (errors += data))
	const started = Date.now()
	for (;;) {
		if (child.exitCode !== null) throw new Error(`vcp ended: ${errors}`)
		if (await reachable(port)) break
		if (Date.now() - started > kStart_ms) throw new Error(`vcp did not listen within ${kStart_ms} ms: ${errors}`)
		await new Promise((resolve) => setTimeout(resolve, 50))
	}
	return {
		async stop() {
			if (child.exitCode === null) {
				child.kill('SIGTERM')
				await once(child, 'exit')
			}
			fs.rmSync(home, { recursive: true, force: true })
		},
	}
}

function reachable(port) {
	return new Promise((resolve) => {
		const socket = net.connect(port, '127.0.0.1', () => {
			socket.end('QUIT\n')
			resolve(true)
		})
		socket.on('error', () => resolve(false))
	})
}

// vcp-sim serving units 1 and 2 on a loopback port; `control(line)` types a command at it.
async function startSimulator() {
	const child = spawn(path.join(kBin, 'vcp-sim'), ['--tcp', '0'], { stdio: ['pipe', 'pipe', 'inherit'] })
	let out = ''
	child.stdout.setEncoding('utf8')
	child.stdout.on('data', (data) => (out += data))
	await until(child.stdout, 'data', () => /ready \S+/.test(out), kStart_ms)
	return {
		line: /ready (\S+)/.exec(out)[1],
		control: (command) => child.stdin.write(command + '\n'),
		async stop() {
			child.kill('SIGTERM')
			if (child.exitCode === null) await once(child, 'exit')
		},
	}
}

module.exports = { freePort, until, startPanel, startSimulator }
